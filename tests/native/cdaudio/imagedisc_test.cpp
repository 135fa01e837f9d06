// A disc played from its CD image is the disc: the same table, media identity and
// cddb disc id as the description of the same table of contents.
#include <gtest/gtest.h>

#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"
#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/logcapture.h"
#include "tests/support/posix/sampleimages.h"

namespace {

struct Opened {
    std::string log;
    std::uint32_t discId = 0;
    std::string identityKey;
};

Opened Open(const std::string& description) {
    Opened opened;
    LogCapture log;
    InstallVirtualCdText(description);
    EXPECT_GE(OpenCdDevice("D:"), 1) << description;
    opened.log = log.Text();
    opened.discId = ComputeDiscId();
    opened.identityKey = IdentityKey();
    CloseCdDevice();
    CdDevice() = CdDeviceRecord{};
    InstallCdAudioDriver(nullptr);
    return opened;
}

TEST(ImageDiscTest, ASheetGivesTheDiscIdAndIdentityOfItsTableOfContents) {
    // The tables make_images.py lays its images out for: track 2 with a second of
    // index 0 before it; the BIN's third track is data, the WAVs' last frame is cut short.
    const std::pair<std::string, std::string> discs[] = {
        {"tones.cue", "track audio 150\ntrack audio 450\npregap 75\ntrack data 750\nleadout 975\n"},
        {"tones-wav.cue", "track audio 150\ntrack audio 450\npregap 75\ntrack audio 750\nleadout 938\n"},
    };
    for (const auto& [sheet, table] : discs) {
        const Opened image = Open("image " + SampleImage(sheet) + "\n");
        const Opened described = Open(table);
        EXPECT_EQ(image.log, described.log) << sheet;
        EXPECT_EQ(image.discId, described.discId) << sheet;
        EXPECT_EQ(image.identityKey, described.identityKey) << sheet;
        EXPECT_NE(image.log.find("Discid = "), std::string::npos) << image.log;
    }
}

} // namespace
