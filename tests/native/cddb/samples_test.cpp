// The sample local copy holds the entries of the sample discs: each disc, opened in
// the virtual drive, is found there by its computed disc id with its titles.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"
#include "cddb/localdb.h"
#include "discinfo/discinfo.h"
#include "platform/virtualcd/virtualcd.h"

namespace {

const std::string Samples = std::string(TUNOVA_SOURCE_DIR) + "/samples/";

struct SampleDisc {
    const char* file;
    unsigned discId;
    const char* artist;
    const char* title;
    const char* lastTrack;
};

class SampleCopyTest : public ::testing::TestWithParam<SampleDisc> {
protected:
    void TearDown() override {
        CloseCdDevice();
        ResetDiscInfo();
    }
};

TEST_P(SampleCopyTest, DiscIsFoundByItsComputedId) {
    const SampleDisc& disc = GetParam();
    std::ifstream in(Samples + "discs/" + disc.file);
    std::stringstream text;
    text << in.rdbuf();
    ASSERT_FALSE(text.str().empty()) << disc.file;
    InstallVirtualCdText(text.str());
    ASSERT_GT(OpenCdDevice("D:"), 0);
    ASSERT_EQ(ComputeDiscId(), disc.discId);

    DiscInfo().trackTitles.assign(static_cast<std::size_t>(CdDevice().trackCount), std::nullopt);
    EXPECT_EQ(SearchLocalDatabaseAt((Samples + "cddb").c_str(), ComputeDiscId()), 1);
    EXPECT_EQ(DiscInfo().artist, disc.artist);
    EXPECT_EQ(DiscInfo().title, disc.title);
    ASSERT_TRUE(DiscInfo().trackTitles.back().has_value());
    EXPECT_EQ(*DiscInfo().trackTitles.back(), disc.lastTrack);
}

INSTANTIATE_TEST_SUITE_P(
    Discs, SampleCopyTest,
    ::testing::Values(SampleDisc{"album.disc", 0x9c0b330c, "The Lanterns", "Harbour Lights", "Home Port"},
                      SampleDisc{"onetrack.disc", 0x0200b201, "Mira Solberg", "Three Minutes", "Three Minutes"},
                      SampleDisc{"tracks25.disc", 0x56112719, "Various Artists", "Short Stories", "Story 25"},
                      SampleDisc{"eleven.disc", 0x920ef00b, "Quiet Hours Trio", "Night Shift", "Night Shift"},
                      SampleDisc{"minato.disc", 0xa40b220c, "青木みなと", "夜明けの港", "帰港"}));

} // namespace
