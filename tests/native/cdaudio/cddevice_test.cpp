#include "cdaudio/cddevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/mcierrortext.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/logcapture.h"

namespace {

const char* const OneTrack = "track audio 150\nleadout 13500\n";

std::string SystemText(std::uint32_t code) {
    char text[129] = {};
    VirtualMciErrorText(code, text, 128);
    return text;
}

class CdDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        now_ = std::make_shared<std::int64_t>(0);
    }
    void TearDown() override {
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
    }
    void Install(const std::string& description) {
        std::shared_ptr<std::int64_t> now = now_;
        InstallVirtualCdText(description, [now] { return *now; });
    }
    void Advance(std::int64_t ms) { *now_ += ms; }

    std::shared_ptr<std::int64_t> now_;
    LogCapture log_;
};

TEST_F(CdDeviceTest, OpensTheWorkedExampleAndLogsItsTable) {
    Install(OneTrack);
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({
                               "Opening CD player with exclusive access:  D:",
                               "Successfully opened:  D:",
                               "Found CD in device:  D:",
                               // Windows rule for one track: 0x000200 + 0 + (13500 - 150) = 0x3626.
                               "Windows media identity:  3626",
                               "Number of tracks on CD:  1",
                               "Track # 1 Offset: 150 - Length: 13350",
                               "Media Length:  3m  0s  0f",
                               "cddb Length:  180 seconds",
                               "Discid =  0200b201",
                               "MusicBrainz disc id:  mmV.QS8KlE8SEDrU.b2zsGN.JRA-",
                           }));
    const CdDeviceRecord& device = CdDevice();
    EXPECT_EQ(device.trackCount, 1);
    ASSERT_EQ(device.toc.size(), 2u);
    EXPECT_EQ(device.toc[0].type, TrackAudio);
    EXPECT_EQ(device.toc[0].number, 1);
    EXPECT_EQ(TrackStartFrames(device.toc[0]), 150);
    EXPECT_EQ(device.toc[0].lengthMinutes, 2);
    EXPECT_EQ(device.toc[0].lengthSeconds, 57);
    EXPECT_EQ(device.toc[0].lengthFrames, 74);
    EXPECT_EQ(TrackStartFrames(device.toc[1]), 13500);
    EXPECT_EQ(device.mediaIdentity, 0x3626);
    EXPECT_EQ(IdentityKey(), "3626");
    EXPECT_EQ(ComputeDiscId(), 0x0200b201u);
    EXPECT_EQ(DiscLengthSeconds(), 180);
}

TEST_F(CdDeviceTest, LogsEveryTrackButTheLastWithoutAColon) {
    Install("identity -1\ntrack data 150\ntrack audio 18787\ntrack audio 36077\nleadout 56475\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({
                               "Opening CD player with exclusive access:  D:",
                               "Successfully opened:  D:",
                               "Found CD in device:  D:",
                               "Windows media identity:  FFFFFFFF",
                               "Number of tracks on CD:  3",
                               "Track # 1 Offset: 150 - Length 18637",
                               "Track # 2 Offset: 18787 - Length 17290",
                               "Track # 3 Offset: 36077 - Length: 20398",
                               "Media Length:  12m 33s  0f",
                               "cddb Length:  753 seconds",
                               "Discid =  1602ef03", // n = 2 + 7 + 13, t = 753 - 2
                               // A data track at the start counts like any other.
                               "MusicBrainz disc id:  C8jopAeFGyvBRDjRbNKepU7IGxk-",
                           }));
    EXPECT_EQ(CdDevice().toc[0].type, TrackOther);
    EXPECT_EQ(CdDevice().mediaIdentity, -1);
}

TEST_F(CdDeviceTest, ElevenTrackDiscHasItsPublishedId) {
    Install("track audio 150\ntrack audio 28615\ntrack audio 51027\ntrack audio 75835\ntrack audio 102620\n"
            "track audio 121460\ntrack audio 148977\ntrack audio 175697\ntrack audio 204322\n"
            "track audio 231082\ntrack audio 268002\nleadout 286950\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    EXPECT_EQ(CdDevice().trackCount, 11);
    EXPECT_EQ(ComputeDiscId(), 0x920ef00bu);
    EXPECT_EQ(DiscLengthSeconds(), 3826);
}

TEST_F(CdDeviceTest, EachFailingStepLogsItsLiteralWithTheSystemText) {
    const struct {
        const char* command;
        const char* literal;
        bool closedFirst; // table steps close the device before the error line
        PlayState result;
    } cases[] = {
        {"status-media", "MCI Error checking for media presence: \r\n  ", false, Failed},
        {"info-identity", "MCI Error getting media identity: \r\n  ", true, Failed},
        {"set-msf", "MCI Error setting time format to MSF: \r\n  ", true, Failed},
        {"status-tracks", "MCI Error getting number of tracks: \r\n  ", true, Failed},
        {"status-type", "MCI Error getting track type: \r\n  ", true, Failed},
        {"status-start", "MCI Error getting track start position: \r\n  ", true, Failed},
        {"status-length", "MCI Error getting track length: \r\n  ", true, Failed},
        {"set-tmsf", "MCI Error setting time format to TMSF: \r\n  ", false, Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Install(std::string(OneTrack) + "fail " + c.command + " 274\n");
        log_.Clear();
        EXPECT_EQ(OpenCdDevice("D:"), c.result);
        const std::string error = std::string(c.literal) + " " + SystemText(274);
        const std::string text = log_.Text();
        const std::string closing = "Clossing connection to CD player.\r\n";
        const std::string expectedEnd =
            c.closedFirst ? closing + error + "\r\n" : error + "\r\n" + closing;
        ASSERT_GE(text.size(), expectedEnd.size());
        EXPECT_EQ(text.substr(text.size() - expectedEnd.size()), expectedEnd);
        EXPECT_TRUE(CdDevice().toc.empty());
    }
}

TEST_F(CdDeviceTest, ABusyDriveLogsBothOpensAndIsBusy) {
    Install(std::string(OneTrack) + "busy\n");
    EXPECT_EQ(OpenCdDevice("D:"), DeviceBusy);
    const std::string error = "MCI Error opening CD player: \r\n   " + SystemText(291);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({
                               "Opening CD player with exclusive access:  D:",
                               error,
                               "Opening CD player using shareable mode:  D:",
                               error,
                           }));
}

TEST_F(CdDeviceTest, ExclusiveRefusedButShareableOpens) {
    Install(OneTrack);
    std::uint16_t other = 0;
    ASSERT_EQ(CdAudio().Open("D:", true, &other), 0u); // someone else holds it shareable
    EXPECT_EQ(OpenCdDevice("D:"), Stopped);
    const std::string text = log_.Text();
    EXPECT_EQ(text.find(LogCapture::Lines({"Opening CD player with exclusive access:  D:",
                                            "MCI Error opening CD player: \r\n   " + SystemText(291),
                                            "Opening CD player using shareable mode:  D:", "Successfully opened:  D:"})),
              0u);
    EXPECT_NE(CdDevice().deviceId, other);
}

TEST_F(CdDeviceTest, NoDiscClosesTheDevice) {
    Install(std::string(OneTrack) + "nodisc\n");
    EXPECT_EQ(OpenCdDevice("D:"), NoDisc);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({
                               "Opening CD player with exclusive access:  D:",
                               "Successfully opened:  D:",
                               "No disc present in CD player.",
                               "Clossing connection to CD player.",
                           }));
    // Closed: the drive can be opened exclusively again.
    std::uint16_t id = 0;
    EXPECT_EQ(CdAudio().Open("D:", false, &id), 0u);
}

TEST_F(CdDeviceTest, ADiscWithoutAudioIsReadThenClosed) {
    Install("track data 150\ntrack data 20000\nleadout 40000\n");
    EXPECT_EQ(OpenCdDevice("D:"), NoAudioTracks);
    const std::string text = log_.Text();
    const std::string end = "Discid =  10021302\r\nMusicBrainz disc id:  wX5ILo8wYx9JWq9Po6Gw2uSPICI-\r\n"
                            "Clossing connection to CD player.\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << text;
    EXPECT_TRUE(CdDevice().toc.empty());
    EXPECT_EQ(CdDevice().trackCount, 0);
}

TEST_F(CdDeviceTest, ADiscOfNoTracksHasNoAudioAndNoTable) {
    Install("leadout 0\n");
    EXPECT_EQ(OpenCdDevice("D:"), NoAudioTracks);
    const std::string text = log_.Text();
    const std::string end = "Number of tracks on CD:  0\r\nClossing connection to CD player.\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << text;
    EXPECT_EQ(ComputeDiscId(), 0u);
    EXPECT_EQ(DiscLengthSeconds(), 0);
}

TEST_F(CdDeviceTest, ASecondCloseFindsNothingToRelease) {
    Install(OneTrack);
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    log_.Clear();
    EXPECT_EQ(CloseCdDevice(), 1);
    EXPECT_TRUE(CdDevice().toc.empty());
    EXPECT_EQ(CloseCdDevice(), 0);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({
                               "Clossing connection to CD player.",
                               "Clossing connection to CD player.",
                               "MCI Error closing CD player: \r\n   " + SystemText(257),
                           }));
}

TEST_F(CdDeviceTest, AFailedCloseKeepsTheTable) {
    Install(std::string(OneTrack) + "fail close 262\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    log_.Clear();
    EXPECT_EQ(CloseCdDevice(), 0);
    EXPECT_EQ(CdDevice().toc.size(), 2u);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Clossing connection to CD player.",
                                              "MCI Error closing CD player: \r\n   " + SystemText(262)}));
}

TEST_F(CdDeviceTest, PlayFromRefusesSilentlyWhatResumeReports) {
    Install("track audio 150\ntrack audio 18787\ntrack data 36077\nleadout 56475\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    const struct {
        int track;
        const char* resumeLine;
    } cases[] = {{0, "Illegal track number to resume:  0"},
                 {4, "Illegal track number to resume:  4"},
                 {-1, "Illegal track number to resume:  -1"},
                 {3, "Track number not audio type:  3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.track);
        log_.Clear();
        EXPECT_EQ(PlayFrom(PlayRequest{c.track, 0, 0, 0, 1}), Failed);
        EXPECT_EQ(log_.Text(), "");
        EXPECT_EQ(ResumePlay(c.track, 1), Failed);
        EXPECT_EQ(log_.Text(), LogCapture::Lines({c.resumeLine}));
    }
    EXPECT_EQ(GetDeviceMode(), Stopped);
}

TEST_F(CdDeviceTest, PlaysPausesResumesAndStops) {
    Install("track audio 150\ntrack audio 18787\ntrack audio 36077\nleadout 56475\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    log_.Clear();
    EXPECT_EQ(PlayFrom(PlayRequest{2, 0, 10, 0, 1}), Playing);
    EXPECT_EQ(GetDeviceMode(), Playing);
    Advance(5000);
    std::int32_t track = 0, minute = 0, second = 0, frame = 0;
    ASSERT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 1);
    EXPECT_EQ(track, 2);
    EXPECT_EQ(minute, 0);
    EXPECT_EQ(second, 15);
    EXPECT_EQ(frame, 0);
    EXPECT_EQ(PauseCd(), Paused);
    Advance(60000);
    EXPECT_EQ(GetDeviceMode(), Paused);
    EXPECT_EQ(ResumePlay(2, 1), Playing);
    Advance(1000);
    ASSERT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 1);
    EXPECT_EQ(second, 16); // continued from the paused position
    // toTrackEnd: stops at the end of track 2, which is 17290 frames long.
    Advance(240000);
    EXPECT_EQ(GetDeviceMode(), Stopped);
    ASSERT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 1);
    EXPECT_EQ(track, 3);
    EXPECT_EQ(minute * 4500 + second * 75 + frame, 0);
    EXPECT_EQ(StopPlay(), Stopped);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Starting play on track:  2", "Pausing CD player.",
                                              "Resuming play on track:  2", "Stopping play."}));
}

TEST_F(CdDeviceTest, EjectOpensTheDoor) {
    Install(OneTrack);
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    ASSERT_EQ(PlayFrom(PlayRequest{1, 0, 0, 0, 0}), Playing);
    log_.Clear();
    EXPECT_EQ(EjectCd(), 1);
    EXPECT_EQ(GetDeviceMode(), NoDisc);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Ejecting CD."}));
}

TEST_F(CdDeviceTest, OperationFailuresLogTheSystemText) {
    Install(std::string(OneTrack) + "fail play 276\nfail pause 262\nfail stop 262\nfail set-door 262\n"
                                    "fail status-position 262\nfail status-mode 262\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    log_.Clear();
    std::int32_t track = 7, minute = 7, second = 7, frame = 7;
    EXPECT_EQ(PlayFrom(PlayRequest{1, 0, 0, 0, 0}), Failed);
    EXPECT_EQ(ResumePlay(1, 0), Failed);
    EXPECT_EQ(PauseCd(), Failed);
    EXPECT_EQ(StopPlay(), Failed);
    EXPECT_EQ(EjectCd(), 0);
    EXPECT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 0);
    EXPECT_EQ(track + minute + second + frame, 28); // untouched
    EXPECT_EQ(GetDeviceMode(), Failed);
    const std::string notReady = SystemText(276), hardware = SystemText(262);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({
                               "Starting play on track:  1",
                               "MCI Error starting play: \r\n   " + notReady,
                               "Resuming play on track:  1",
                               "MCI Error resuming play: \r\n   " + notReady,
                               "Pausing CD player.",
                               "MCI Error pausing CD: \r\n   " + hardware,
                               "Stopping play.",
                               "MCI Error stopping play: \r\n   " + hardware,
                               "Ejecting CD.",
                               "MCI Error ejecting CD: \r\n   " + hardware,
                               "MCI Error getting track time information: \r\n   " + hardware,
                               "MCI Error getting CD player status: \r\n   " + hardware,
                           }));
}

TEST_F(CdDeviceTest, AnOpenOfAnotherDriveReplacesTheDevice) {
    // D: has no disc, E: has the worked example: the shell's start-up walk.
    std::shared_ptr<std::int64_t> now = now_;
    InstallCdAudioDriver(CreateVirtualCdDriver({"nodisc\n", OneTrack}, [now] { return *now; }));
    EXPECT_EQ(OpenCdDevice("D:"), NoDisc);
    EXPECT_EQ(OpenCdDevice("E:"), Stopped);
    EXPECT_EQ(CdDevice().trackCount, 1);
    EXPECT_EQ(PlayFrom(PlayRequest{1, 0, 0, 0, 0}), Playing);
}

} // namespace
