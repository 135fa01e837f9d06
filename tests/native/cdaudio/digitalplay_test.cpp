// The CD audio device playing digitally: the drive's sectors, read raw, reach the wave
// output sample for sample, and the device answers play, pause, resume, stop, position
// and mode as the drive would. When the drive cannot read audio, it plays as before.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cdaudio/cddevice.h"
#include "platform/cdaudiodriver.h"
#include "platform/rawcd.h"
#include "platform/virtualcd/mcierrortext.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/logcapture.h"
#include "tests/support/posix/sampleimages.h"
#include "tests/support/recordingoutput.h"

namespace {

std::string ImageSound(std::int32_t from, std::int32_t to) {
    std::ifstream file(SampleImage("tones.bin"), std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return all.substr(static_cast<std::size_t>(from - 150) * 2352, static_cast<std::size_t>(to - from) * 2352);
}

class DigitalPlayTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseCdDevice();
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
        InstallRawCdOpener(nullptr);
    }
    // Opens the drive of the description and chooses the path; true when digital.
    bool Open(const std::string& description, bool digital = true, SoundOutputOpener openSound = nullptr) {
        RawCdOpener raw;
        auto now = now_;
        InstallCdAudioDriver(
            CreateVirtualCdDriver({description}, [now] { return *now; }, 1.0, "", nullptr, nullptr, &raw));
        InstallRawCdOpener(raw);
        EXPECT_EQ(OpenCdDevice("D:"), Stopped);
        log_.Clear();
        auto shared = recorded_;
        if (!openSound)
            openSound = [shared](std::string*) { return std::unique_ptr<SoundOutput>(new RecordingOutput(shared)); };
        ChoosePlaybackPath("D:", digital, openSound, [now] { return *now; });
        return CdDevice().digital != nullptr;
    }
    std::size_t Sent() {
        std::lock_guard<std::mutex> lock(recorded_->mutex);
        return recorded_->bytes.size();
    }
    void Hear(std::uint64_t bytes) {
        std::lock_guard<std::mutex> lock(recorded_->mutex);
        recorded_->played = bytes;
    }
    std::string Sound() {
        std::lock_guard<std::mutex> lock(recorded_->mutex);
        return recorded_->bytes;
    }
    // The rest of the range heard, up to the end where the drive stops.
    void HearToTheEnd(std::size_t total) {
        ASSERT_TRUE(WaitFor([&] {
            Hear(Sent());
            return Sent() == total && GetDeviceMode() == Stopped;
        }));
    }
    struct Tmsf {
        std::int32_t track = 0, minute = 0, second = 0, frame = 0;
        bool operator==(const Tmsf& o) const {
            return track == o.track && minute == o.minute && second == o.second && frame == o.frame;
        }
    };
    Tmsf Position() {
        Tmsf at;
        EXPECT_EQ(GetPlayPosition(&at.track, &at.minute, &at.second, &at.frame), 1);
        return at;
    }

    std::shared_ptr<std::int64_t> now_ = std::make_shared<std::int64_t>(1000);
    std::shared_ptr<RecordingOutput::Shared> recorded_ = std::make_shared<RecordingOutput::Shared>();
    LogCapture log_;
};

TEST_F(DigitalPlayTest, ATrackPlaysItsOwnSamplesAndThePositionIsWhatWasHeard) {
    ASSERT_TRUE(Open("image " + SampleImage("tones.cue")));
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Playing digitally from D:"}));
    // Track 2 from 0:01 to its end, one frame short of the data track at 750.
    ASSERT_EQ(PlayFrom({2, 0, 1, 0, 1}), Playing);
    EXPECT_EQ(GetDeviceMode(), Playing);
    EXPECT_TRUE(Position() == (Tmsf{2, 0, 1, 0})) << "nothing heard yet";
    ASSERT_TRUE(WaitFor([&] { return Sent() >= 2 * SoundBlockBytes; }));
    Hear(30 * 2352 + 100);
    EXPECT_TRUE(Position() == (Tmsf{2, 0, 1, 30}));
    HearToTheEnd(224 * 2352);
    EXPECT_TRUE(Sound() == ImageSound(525, 749));
    EXPECT_TRUE(Position() == (Tmsf{2, 0, 3, 74}));
}

TEST_F(DigitalPlayTest, APauseResumesAtTheSameSampleAndAPlayElsewhereSeeks) {
    ASSERT_TRUE(Open("image " + SampleImage("tones.cue")));
    ASSERT_EQ(PlayFrom({1, 0, 0, 0, 0}), Playing);
    ASSERT_TRUE(WaitFor([&] { return Sent() >= 2 * SoundBlockBytes; }));
    Hear(50 * 2352 + 1000);
    ASSERT_EQ(PauseCd(), Paused);
    EXPECT_EQ(GetDeviceMode(), Paused);
    EXPECT_TRUE(recorded_->paused);
    const int resets = recorded_->resets;
    ASSERT_EQ(ResumePlay(1, 0), Playing);
    EXPECT_FALSE(recorded_->paused);
    EXPECT_EQ(recorded_->resets, resets) << "the same stream goes on";
    // Tracks 1 and 2 play on to the data track.
    HearToTheEnd((749 - 150) * 2352);
    EXPECT_TRUE(Sound() == ImageSound(150, 749));

    // From elsewhere: the stream starts again there.
    ASSERT_EQ(PlayFrom({1, 0, 2, 10, 1}), Playing);
    HearToTheEnd((375 - 310) * 2352);
    EXPECT_TRUE(Sound() == ImageSound(310, 375)) << "track 1 ends where track 2's pregap begins";
    // A stopped drive refuses a pause, as the CD audio device does.
    log_.Clear();
    ASSERT_EQ(StopPlay(), Stopped);
    EXPECT_EQ(PauseCd(), Failed);
    char text[129] = {};
    VirtualMciErrorText(mci::ErrHardware, text, 128);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Stopping play.", "Pausing CD player.",
                                               std::string("MCI Error pausing CD: \r\n   ") + text}));
}

TEST_F(DigitalPlayTest, ADriveThatCannotReadAudioOrNoWaveDevicePlaysThroughTheDrive) {
    struct Case {
        std::string description;
        bool digital;
        SoundOutputOpener openSound;
        std::string log;
    };
    const SoundOutputOpener noDevice = [](std::string* problem) {
        *problem = "No device";
        return std::unique_ptr<SoundOutput>();
    };
    const std::string image = "image " + SampleImage("tones.cue") + "\n";
    for (const Case& c : {
             Case{"track audio 150\nleadout 13500\n", true, nullptr,
                  "Drive D: cannot read audio, playing through its own output: Incorrect function."},
             Case{image + "fail raw-read 21\n", true, nullptr,
                  "Drive D: cannot read audio, playing through its own output: The device is not ready."},
             Case{image + "fail raw-open 5\n", true, nullptr,
                  "Drive D: cannot read audio, playing through its own output: Access is denied."},
             Case{image, true, noDevice,
                  "No audio output for digital playback, playing through the drive's own output: No device"},
             Case{image, false, nullptr, ""},
         }) {
        EXPECT_FALSE(Open(c.description, c.digital, c.openSound)) << c.description;
        EXPECT_EQ(log_.Text(), c.log.empty() ? "" : LogCapture::Lines({c.log})) << c.description;
        // The CD audio device plays: its drive reports the play.
        ASSERT_EQ(PlayFrom({1, 0, 0, 0, 1}), Playing);
        EXPECT_EQ(GetDeviceMode(), Playing);
        TearDown();
    }
}

} // namespace
