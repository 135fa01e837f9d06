// Drives holding CD images: the sample images of tools/images/make_images.py, made fresh
// for the run, read through the drive and played into a recording sound output.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/cdaudiodriver.h"
#include "platform/framesound.h"
#include "platform/virtualcd/imagefiles.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/posix/sampleimages.h"
#include "tests/support/recordingoutput.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class ImageDriveTest : public ::testing::Test {
protected:
    static std::string Path(const std::string& name) { return SampleImage(name); }

    // The sound of the disc from frame 150 on, straight from the files: the BIN as it
    // is; the WAV files' samples after their 44-byte headers, each padded to whole frames.
    static std::string DiscSound(const std::string& sheet) {
        if (sheet == "tones.cue" || sheet == "motorola.cue") return ReadFile(Path("tones.bin"));
        std::string sound;
        for (const char* name : {"tones-1.wav", "tones-2.wav", "tones-3.wav"}) {
            sound += ReadFile(Path(name)).substr(44);
            sound.resize((sound.size() + 2351) / 2352 * 2352, '\0');
        }
        return sound;
    }

    std::unique_ptr<CdAudioDriver> Drive(const std::string& text, std::vector<std::string>* notices = nullptr,
                                         SoundOutputOpener openSound = nullptr) {
        std::shared_ptr<std::int64_t> now = now_;
        return CreateVirtualCdDriver(
            {text}, [now] { return *now; }, 1.0, std::string(),
            [notices](const std::string& line) {
                if (notices) notices->push_back(line);
            },
            std::move(openSound));
    }
    SoundOutputOpener Recorder() {
        auto shared = recorded_;
        return [shared](std::string*) { return std::unique_ptr<SoundOutput>(new RecordingOutput(shared)); };
    }
    std::uint32_t Get(CdAudioDriver& driver, std::uint16_t id, std::uint32_t item, std::int32_t track = 0) {
        std::uint32_t value = 0xDEAD;
        EXPECT_EQ(driver.Status(id, item, track, &value), 0u) << item;
        return value;
    }

    std::shared_ptr<std::int64_t> now_ = std::make_shared<std::int64_t>(1000);
    std::shared_ptr<RecordingOutput::Shared> recorded_ = std::make_shared<RecordingOutput::Shared>();
};

std::uint32_t Msf(int m, int s, int f) { return static_cast<std::uint32_t>(m | s << 8 | f << 16); }
std::uint32_t Tmsf(int t, int m, int s) { return static_cast<std::uint32_t>(t | m << 8 | s << 16); }

TEST_F(ImageDriveTest, PlaysTheImagesOwnSamplesFromAnyFrame) {
    struct Case {
        const char* sheet;
        std::int32_t from, to;
    };
    // The BIN turned big-endian: a MOTOROLA sheet plays the same samples.
    std::string swapped = ReadFile(Path("tones.bin"));
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    std::ofstream(Path("motorola.bin"), std::ios::binary) << swapped;
    std::ofstream(Path("motorola.cue")) << ReadFile(Path("tones.cue")).replace(
        ReadFile(Path("tones.cue")).find("\"tones.bin\" BINARY"), 18, "\"motorola.bin\" MOTOROLA");
    // Track 2 from its second second to the data track; the WAV disc from 0:02 in
    // track 1 across both file ends and the pregap to the lead-out, ending in silence
    // where the last file stops inside a frame.
    for (const Case& c : {Case{"tones.cue", 450 + 75, 750}, Case{"tones-wav.cue", 150 + 150, 938},
                          Case{"motorola.cue", 150, 750}}) {
        DiscDescription disc;
        DiscImage image;
        std::string error;
        ASSERT_TRUE(LoadCueImage(Path(c.sheet), &disc, &image, &error)) << error;
        recorded_->instant = true;
        ImageSoundReader reader(image);
        FrameSound sound(Recorder(), reader, [] { return std::int64_t{0}; });
        std::string problem;
        ASSERT_TRUE(sound.Start(c.from, c.to, 0, &problem));
        ASSERT_TRUE(WaitFor([&] { return sound.Finished(); })) << c.sheet;
        EXPECT_EQ(sound.PlayedFrames(), c.to - c.from);
        const std::string expected = DiscSound(c.sheet).substr(static_cast<std::size_t>(c.from - 150) * 2352,
                                                               static_cast<std::size_t>(c.to - c.from) * 2352);
        std::lock_guard<std::mutex> lock(recorded_->mutex);
        ASSERT_EQ(recorded_->bytes.size(), expected.size()) << c.sheet;
        EXPECT_TRUE(recorded_->bytes == expected) << c.sheet;
    }
}

TEST_F(ImageDriveTest, ReportsTheSheetsTableAndPlaysNoDataTrack) {
    auto driver = Drive("drive E:\nimage " + Path("tones.cue") + "\n");
    std::uint16_t id = 0;
    ASSERT_EQ(driver->Open("E:", false, &id), 0u);
    ASSERT_EQ(driver->SetTimeFormat(id, mci::FormatMsf), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusNumberOfTracks), 3u);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition, 2), Msf(0, 6, 0));
    EXPECT_EQ(Get(*driver, id, mci::StatusLength, 1), Msf(0, 3, 0)); // up to track 2's pregap
    EXPECT_EQ(Get(*driver, id, mci::CdaStatusTypeTrack, 3), mci::CdaTrackOther);
    EXPECT_EQ(Get(*driver, id, mci::StatusLength, 3), Msf(0, 2, 74)); // one frame short of the lead-out
    ASSERT_EQ(driver->SetTimeFormat(id, mci::FormatTmsf), 0u);
    EXPECT_EQ(driver->Play(id, true, Tmsf(2, 0, 1), Tmsf(3, 0, 1)), mci::ErrHardware);
    EXPECT_EQ(driver->Close(id), 0u);
}

TEST_F(ImageDriveTest, AnImageThatCannotBeReadIsLoggedAndLeavesTheDriveEmpty) {
    std::ofstream(Path("broken.cue")) << "FILE \"tones.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                                         "TRACK 03 AUDIO\nINDEX 01 00:04:00\n";
    const std::pair<std::string, std::string> cases[] = {
        {"image " + Path("broken.cue"), "Virtual CD drive D: cannot use its image: " + Path("broken.cue") +
                                            ": line 4: track numbers must count up from 1"},
        {"image " + Path("missing.cue"), "Virtual CD drive D: cannot use its image: cannot read " + Path("missing.cue")},
    };
    for (const auto& [text, notice] : cases) {
        std::vector<std::string> notices;
        auto driver = Drive(text, &notices);
        EXPECT_EQ(notices, std::vector<std::string>{notice});
        std::uint16_t id = 0;
        ASSERT_EQ(driver->Open("D:", false, &id), 0u) << text;
        EXPECT_EQ(Get(*driver, id, mci::StatusMediaPresent), 0u);
        std::uint32_t tracks = 0;
        EXPECT_EQ(driver->Status(id, mci::StatusNumberOfTracks, 0, &tracks), mci::ErrDeviceNotReady);
        EXPECT_EQ(driver->Close(id), 0u);
    }
    // Track lines beside an image make a faulty description, refused as any other.
    std::vector<std::string> notices;
    auto driver = Drive("image " + Path("tones.cue") + "\ntrack audio 150\nleadout 900", &notices);
    std::uint16_t id = 0;
    EXPECT_EQ(driver->Open("D:", false, &id), mci::ErrInvalidFile);
    EXPECT_TRUE(notices.empty());
}

TEST_F(ImageDriveTest, ThePositionIsWhatTheOutputPlayedAndAPauseResumesAtItsSample) {
    auto driver = Drive("image " + Path("tones.cue"), nullptr, Recorder());
    std::uint16_t id = 0;
    ASSERT_EQ(driver->Open("D:", false, &id), 0u);
    ASSERT_EQ(driver->SetTimeFormat(id, mci::FormatMsf), 0u);
    ASSERT_EQ(driver->Play(id, true, Msf(0, 7, 0), Msf(0, 10, 0)), 0u);
    auto sent = [this] {
        std::lock_guard<std::mutex> lock(recorded_->mutex);
        return recorded_->bytes.size();
    };
    auto play = [this](std::uint64_t bytes) {
        std::lock_guard<std::mutex> lock(recorded_->mutex);
        recorded_->played = bytes;
    };
    ASSERT_TRUE(WaitFor([&] { return sent() == 2 * SoundBlockBytes; }));
    // The clock runs on, but the drive is where the sound is: 30 frames and a bit.
    *now_ += 10000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 7, 0));
    play(30 * 2352 + 100);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 7, 30));
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePlay);

    const int resets = recorded_->resets;
    ASSERT_EQ(driver->Pause(id), 0u);
    EXPECT_TRUE(recorded_->paused);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePause);
    // Going on continues the same stream: nothing is dropped or sent twice.
    ASSERT_EQ(driver->Play(id, false, 0, Msf(0, 10, 0)), 0u);
    EXPECT_FALSE(recorded_->paused);
    EXPECT_EQ(recorded_->resets, resets);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 7, 30));

    // Played out to the end of the range, the drive stops there.
    ASSERT_TRUE(WaitFor([&] {
        play(sent());
        return sent() == 225u * 2352 && Get(*driver, id, mci::StatusMode) == mci::ModeStop;
    }));
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 10, 0));
    const std::string expected = ReadFile(Path("tones.bin")).substr(375 * 2352, 225 * 2352);
    EXPECT_TRUE(recorded_->bytes == expected);
    EXPECT_EQ(driver->Close(id), 0u);
}

TEST_F(ImageDriveTest, WithoutAnAudioOutputTheImagePlaysSilentlyOnTheClock) {
    std::vector<std::string> notices;
    auto driver = Drive("image " + Path("tones-wav.cue"), &notices, [](std::string* problem) {
        *problem = "No device";
        return std::unique_ptr<SoundOutput>();
    });
    std::uint16_t id = 0;
    ASSERT_EQ(driver->Open("D:", false, &id), 0u);
    ASSERT_EQ(driver->SetTimeFormat(id, mci::FormatMsf), 0u);
    ASSERT_EQ(driver->Play(id, true, Msf(0, 2, 0), Msf(0, 9, 0)), 0u);
    EXPECT_EQ(notices, std::vector<std::string>{"No audio output for the image in D:, it plays silently: No device"});
    *now_ += 2000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 4, 0));
    // The output is asked for once per drive, not at every play.
    ASSERT_EQ(driver->Play(id, true, Msf(0, 2, 0), Msf(0, 9, 0)), 0u);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(driver->Close(id), 0u);
}

TEST_F(ImageDriveTest, ACueSheetNamedDirectlyIsADrive) {
    setenv("TUNOVA_VIRTUAL_CD", Path("tones-wav.cue").c_str(), 1);
    std::vector<std::string> notices;
    auto driver = CreateVirtualCdDriverFromEnvironment([&notices](const std::string& line) { notices.push_back(line); });
    EXPECT_EQ(VirtualCdDriveNames(), std::vector<std::string>{"D:"});
    unsetenv("TUNOVA_VIRTUAL_CD");
    std::uint16_t id = 0;
    ASSERT_EQ(driver->Open("D:", true, &id), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusNumberOfTracks), 3u);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(driver->Close(id), 0u);
}

} // namespace
