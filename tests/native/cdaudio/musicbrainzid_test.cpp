// The MusicBrainz disc id and table, from discs as the drive reports them.
#include "cdaudio/musicbrainzid.h"

#include <gtest/gtest.h>

#include <string>

#include "cdaudio/cddevice.h"
#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/filetext.h"

namespace {

const std::string Root = TUNOVA_SOURCE_DIR;

class MusicBrainzIdTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseCdDevice();
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
    }
    void Open(const std::string& description) {
        InstallVirtualCdText(description);
        ASSERT_GT(OpenCdDevice("D:"), 0);
    }
};

} // namespace

TEST_F(MusicBrainzIdTest, TheDocumentedExampleHasItsPublishedId) {
    // MusicBrainz's own example: TOC 1 12 267257 150 22767 ... 174597.
    Open("track audio 150\ntrack audio 22767\ntrack audio 41887\ntrack audio 58317\ntrack audio 72102\n"
         "track audio 91375\ntrack audio 104652\ntrack audio 115380\ntrack audio 132165\n"
         "track audio 143932\ntrack audio 159870\ntrack audio 174597\nleadout 267257\n");
    EXPECT_EQ(MusicBrainzTocText(MusicBrainzTocOfDisc(), ' '),
              "1 12 267257 150 22767 41887 58317 72102 91375 104652 115380 132165 143932 159870 174597");
    EXPECT_EQ(MusicBrainzDiscId(), "I5l9cCSFccLKFEKS.7wqSZAorPU-");
}

TEST_F(MusicBrainzIdTest, AnEnhancedCdCountsOnlyItsAudioSession) {
    // Nine audio tracks, then a data track at 175238 in a second session: the audio
    // ends 11400 frames before it.
    Open(FileText(Root + "/samples/discs/enhanced.disc"));
    ASSERT_EQ(CdDevice().trackCount, 10);
    EXPECT_EQ(MusicBrainzTocText(MusicBrainzTocOfDisc(), '+'),
              "1+9+163838+150+18395+35730+55800+70205+92840+109973+129110+142530");
    EXPECT_EQ(MusicBrainzDiscId(), "9sLuYGWpqZYqnKKFhsRI5Otro0k-");
}
