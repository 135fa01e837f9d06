// What the device code sends, checked on a driver that records it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "platform/cdaudiodriver.h"
#include "tests/support/logcapture.h"

namespace {

struct Recorded {
    std::vector<std::string> calls;
    std::uint32_t mode = mci::ModeStop;
    std::uint32_t position = 0;
};

class RecordingDriver : public CdAudioDriver {
public:
    explicit RecordingDriver(std::shared_ptr<Recorded> recorded) : r_(std::move(recorded)) {}
    std::uint32_t Open(const char*, bool, std::uint16_t* id) override { return *id = 9, 0; }
    std::uint32_t Status(std::uint16_t, std::uint32_t item, std::int32_t, std::uint32_t* value) override {
        *value = item == mci::StatusMode ? r_->mode : r_->position;
        return 0;
    }
    std::uint32_t InfoMediaIdentity(std::uint16_t, char* buffer, std::uint32_t) override { return buffer[0] = 0, 0; }
    std::uint32_t SetTimeFormat(std::uint16_t, std::uint32_t) override { return 0; }
    std::uint32_t SetDoorOpen(std::uint16_t) override { return 0; }
    std::uint32_t Play(std::uint16_t id, bool hasFrom, std::uint32_t from, std::uint32_t to) override {
        char text[64];
        if (hasFrom)
            std::snprintf(text, sizeof text, "play %u from %08x to %08x", id, from, to);
        else
            std::snprintf(text, sizeof text, "play %u to %08x", id, to);
        r_->calls.push_back(text);
        return 0;
    }
    std::uint32_t Pause(std::uint16_t) override { return 0; }
    std::uint32_t Stop(std::uint16_t) override { return 0; }
    std::uint32_t Close(std::uint16_t) override { return 0; }
    bool ErrorText(std::uint32_t, char*, std::uint32_t) override { return false; }

private:
    std::shared_ptr<Recorded> r_;
};

class PlayRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorded_ = std::make_shared<Recorded>();
        InstallCdAudioDriver(std::make_unique<RecordingDriver>(recorded_));
        // An enhanced disc: two audio tracks and a trailing data track.
        CdDeviceRecord& device = CdDevice();
        device.deviceId = 9;
        device.trackCount = 3;
        device.toc = {TrackToc{TrackAudio, 1, 0, 2, 0, 4, 3, 10},
                      TrackToc{TrackAudio, 2, 4, 5, 10, 3, 40, 5},
                      TrackToc{TrackOther, 3, 7, 45, 15, 20, 1, 2},
                      TrackToc{}};
        PlaceLeadOut(device.toc.data(), 3);
    }
    void TearDown() override {
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
    }
    std::shared_ptr<Recorded> recorded_;
    LogCapture log_;
};

TEST_F(PlayRangeTest, PacksPositionsAsTmsf) {
    EXPECT_EQ(PackTmsf(2, 1, 30, 74), 0x4A1E0102u);
    EXPECT_EQ(PackTmsf(0x102, 0, 0, 0), 0x02u); // only the low byte of each part
    EXPECT_EQ(PackMsf(3, 0, 0), 0x000003u);
    EXPECT_EQ(PackMsf(12, 33, 74), 0x4A210Cu);
}

// Drives play no data: the end of the disc is the end of its audio, and the last audio
// track of an enhanced CD ends where the gap before the data session begins.
TEST_F(PlayRangeTest, PlaysToTheTrackEndOrTheEndOfTheAudio) {
    EXPECT_EQ(PlayFrom(PlayRequest{2, 1, 2, 3, 1}), Playing);
    EXPECT_EQ(PlayFrom(PlayRequest{1, 0, 0, 0, 0}), Playing);
    EXPECT_EQ(ResumePlay(2, 0), Playing);
    EXPECT_EQ(ResumePlay(1, 1), Playing);
    EXPECT_EQ(recorded_->calls, (std::vector<std::string>{
                                    "play 9 from 03020102 to 05080102", // 3:40.05 less 2:32.00
                                    "play 9 from 00000001 to 05080102",
                                    "play 9 to 05080102",
                                    "play 9 to 0a030401", // TMSF(1,4,3,10): an audio track follows
                                }));
    EXPECT_EQ(PlayableLengthFrames(2), 5105);
    EXPECT_EQ(PlayableLengthFrames(3), TrackLengthFrames(CdDevice().toc[2]));
    EXPECT_EQ(PlayableLengthFrames(4), 0);
}

// A data track amid the audio: play to the end runs to one frame before it, which the
// driver takes as it is (an end on the data track's first frame it would move past it).
TEST_F(PlayRangeTest, PlayStopsOneFrameBeforeADataTrackAmidTheAudio) {
    CdDeviceRecord& device = CdDevice();
    device.trackCount = 3;
    device.toc = {TrackToc{TrackAudio, 1, 0, 2, 0, 4, 3, 10}, TrackToc{TrackOther, 2, 4, 5, 10, 3, 40, 5},
                  TrackToc{TrackAudio, 3, 7, 45, 15, 20, 1, 2}, TrackToc{}};
    PlaceLeadOut(device.toc.data(), 3);
    EXPECT_EQ(PlayFrom(PlayRequest{1, 0, 0, 0, 0}), Playing);
    EXPECT_EQ(PlayFrom(PlayRequest{3, 0, 0, 0, 0}), Playing);
    EXPECT_EQ(recorded_->calls, (std::vector<std::string>{
                                    "play 9 from 00000001 to 09030401", // TMSF(1,4,3,9)
                                    "play 9 from 00000003 to 02011403", // the last track's end
                                }));
}

TEST_F(PlayRangeTest, MapsEveryMode) {
    const struct {
        std::uint32_t mode;
        PlayState state;
    } cases[] = {{524, NotReady}, {525, Stopped}, {526, Playing}, {527, Recording}, {528, Seeking},
                 {529, Paused},   {530, NoDisc},  {523, Failed},  {531, Failed},    {0, Failed}};
    for (const auto& c : cases) {
        recorded_->mode = c.mode;
        EXPECT_EQ(GetDeviceMode(), c.state) << c.mode;
    }
    EXPECT_EQ(log_.Text(), ""); // polled every second: silent on success
}

TEST_F(PlayRangeTest, SplitsThePositionIntoItsFourBytes) {
    recorded_->position = 0x4A3B0C02;
    std::int32_t track = 0, minute = 0, second = 0, frame = 0;
    ASSERT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 1);
    EXPECT_EQ(track, 2);
    EXPECT_EQ(minute, 12);
    EXPECT_EQ(second, 59);
    EXPECT_EQ(frame, 74);
}

} // namespace
