#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "log/logfile.h"
#include "app/mixer.h"
#include "app/shellstate.h"
#include "platform/fakemixer.h"

namespace {

constexpr std::uintptr_t Window = 0x4711;

class RecordingVolumeView : public VolumeView {
public:
    void RedrawVolumeBar() override { ++redraws; }
    void DisableVolumeControls() override { disabled = true; }
    bool IsButtonHeld(int controlId) override { return controlId == heldButton; }

    int redraws = 0;
    bool disabled = false;
    int heldButton = 0;
};

MixerControl Control(std::uint32_t id, std::uint32_t type, const char* name, std::uint32_t max = 65535,
                     std::uint32_t steps = 32) {
    MixerControl control;
    control.id = id;
    control.type = type;
    control.name = name;
    control.maximum = max;
    control.steps = steps;
    return control;
}

FakeMixerDestination Destination(std::uint32_t lineId, std::uint32_t componentType, const char* name,
                                 std::vector<MixerControl> controls = {}, std::uint32_t flags = 0) {
    FakeMixerDestination destination;
    destination.line.lineId = lineId;
    destination.line.componentType = componentType;
    destination.line.flags = flags;
    destination.line.name = name;
    destination.line.controlCount = static_cast<std::uint32_t>(controls.size());
    destination.controls = std::move(controls);
    return destination;
}

constexpr std::uint32_t WaveIn = 7; // MIXERLINE_COMPONENTTYPE_DST_WAVEIN
constexpr std::uint32_t VolumeId = 11, MuteId = 12;

FakeMixerDevice SpeakersMixer(const char* name = "Fake Audio Mixer") {
    FakeMixerDevice device;
    device.productName = name;
    device.destinations = {Destination(1, mixer::ComponentDstSpeakers, "Speakers",
                                       {Control(VolumeId, mixer::ControlTypeVolume, "Master Volume"),
                                        Control(MuteId, mixer::ControlTypeMute, "Master Mute", 1, 0)})};
    return device;
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShell();
        ResetMixerState();
        InstallMixerApi(&fake);
        InstallVolumeView(&view);
        logPath = ::testing::TempDir() + "tunova_mixer_test.log";
        std::remove(logPath.c_str());
        SetLogFilePath(logPath);
    }
    void TearDown() override {
        SetLogFilePath("");
        InstallVolumeView(nullptr);
        InstallMixerApi(nullptr);
        ResetMixerState();
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::ifstream in(logPath);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // A speakers mixer found, at the given volume, unmuted.
    void StartWithVolume(std::uint32_t volume) {
        fake.devices = {SpeakersMixer()};
        fake.values[VolumeId] = volume;
        DiscoverMixer(Window);
        ASSERT_NE(MixerState().mixerHandle, 0u);
        fake.writes.clear();
    }

    FakeMixerApi fake;
    RecordingVolumeView view;
    std::string logPath;
};

TEST(VolumeStep, IsAWholeNumberOfControlStepsInAFiftiethOfTheRange) {
    EXPECT_EQ(VolumeStepFor(0, 65535, 32), 1280u);
    EXPECT_EQ(VolumeStepFor(0, 65535, 192), 1152u);
    // No step count: one step of a fiftieth instead of a division by zero.
    EXPECT_EQ(VolumeStepFor(0, 65535, 0), 1310u);
    EXPECT_EQ(VolumeStepFor(100, 5100, 1), 100u);
}

TEST(VolumeStep, NeverStandsStill) {
    // More steps than a fiftieth holds would round the step down to nothing.
    EXPECT_EQ(VolumeStepFor(0, 65535, 65535), 1310u);
    EXPECT_EQ(VolumeStepFor(0, 65535, 2000), 1310u);
    // A range too small for a fiftieth still moves by one unit.
    EXPECT_EQ(VolumeStepFor(0, 10, 10), 1u);
    EXPECT_EQ(VolumeStepFor(0, 10, 0), 1u);
}

TEST_F(MixerTest, DiscoveryTakesTheFirstMixerWithASpeakersDestination) {
    FakeMixerDevice unopenable = SpeakersMixer("Busy Mixer");
    unopenable.failOpen = true;
    // Recording only, and a speakers line flagged as a source: no master volume there.
    FakeMixerDevice recorder;
    recorder.productName = "Recorder";
    recorder.destinations = {
        Destination(1, WaveIn, "Recording Control", {Control(21, mixer::ControlTypeVolume, "Recording Volume")}),
        Destination(2, mixer::ComponentDstSpeakers, "Source", {Control(22, mixer::ControlTypeVolume, "V")},
                    mixer::LineFlagSource)};
    FakeMixerDevice chosen = SpeakersMixer();
    chosen.destinations.insert(chosen.destinations.begin(), Destination(3, WaveIn, "Recording Control"));
    fake.devices = {unopenable, recorder, chosen, SpeakersMixer("Second Card")};
    fake.values[VolumeId] = 30000;
    fake.values[MuteId] = 1;

    DiscoverMixer(Window);

    const MixerRecord& state = MixerState();
    EXPECT_EQ(state.mixerHandle, FakeMixerApi::HandleOf(2));
    EXPECT_EQ(fake.openMixers, (std::set<MixerHandle>{FakeMixerApi::HandleOf(2)}));
    EXPECT_EQ(fake.notifyWindow, Window);
    EXPECT_EQ(state.volumeControlId, VolumeId);
    EXPECT_EQ(state.muteControlId, MuteId);
    EXPECT_EQ(state.volumeMin, 0u);
    EXPECT_EQ(state.volumeMax, 65535u);
    EXPECT_EQ(state.volumeStep, 1280u);
    EXPECT_EQ(state.volumeValue, 30000u);
    EXPECT_EQ(state.muteValue, 1);
    EXPECT_FALSE(view.disabled);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"Looking for mixer control", "Found mixer:  Recorder",
                                                   "Found mixer:  Fake Audio Mixer", "Found mixer line:  Speakers",
                                                   "Found mixer control:  Master Volume",
                                                   "Found mixer control:  Master Mute"}));
}

TEST_F(MixerTest, ALaterControlOfTheSameTypeReplacesAnEarlierOne) {
    FakeMixerDevice device;
    device.productName = "Mixer";
    device.destinations = {Destination(1, mixer::ComponentDstSpeakers, "Speakers",
                                       {Control(1, mixer::ControlTypeVolume, "Volume A", 1000, 0),
                                        Control(2, mixer::ControlTypeMute, "Mute A", 1, 0),
                                        Control(3, 0x50030000u, "Fader"),
                                        Control(4, mixer::ControlTypeVolume, "Volume B", 65535, 65535),
                                        Control(5, mixer::ControlTypeMute, "Mute B", 1, 0)})};
    fake.devices = {device};
    DiscoverMixer(Window);
    EXPECT_EQ(MixerState().volumeControlId, 4u);
    EXPECT_EQ(MixerState().muteControlId, 5u);
    EXPECT_EQ(MixerState().volumeMax, 65535u);
    EXPECT_EQ(MixerState().volumeStep, 1310u);
    // The fine-grained control the buttons now work on moves with them.
    fake.values[4] = 30000;
    VolumeButtonClicked(VolumeUpButton);
    EXPECT_EQ(fake.values[4], 31310u);
}

TEST_F(MixerTest, WithoutAUsableMixerTheControlsAreDisabledAndEveryMixerClosed) {
    FakeMixerDevice noControls = SpeakersMixer("No Controls");
    noControls.destinations[0].controls = {Control(3, 0x50030000u, "Fader")};
    noControls.destinations[0].line.controlCount = 1;
    FakeMixerDevice failingControls = SpeakersMixer("Failing Controls");
    failingControls.destinations[0].failControls = true;
    FakeMixerDevice failingLine = SpeakersMixer("Failing Line");
    failingLine.destinations[0].failInfo = true;
    FakeMixerDevice failingCaps = SpeakersMixer("Failing Caps");
    failingCaps.failCapabilities = true;
    fake.devices = {noControls, failingControls, failingLine, failingCaps};

    DiscoverMixer(Window);

    EXPECT_EQ(MixerState().mixerHandle, 0u);
    EXPECT_TRUE(fake.openMixers.empty());
    EXPECT_TRUE(view.disabled);
    EXPECT_EQ(LogLines().back(), "Unable to find mixer control on system.");
    // With nothing open, the buttons and notices change nothing.
    EXPECT_TRUE(VolumeButtonClicked(VolumeUpButton));
    EXPECT_TRUE(VolumeButtonClicked(VolumeBar));
    EXPECT_TRUE(fake.writes.empty());
}

TEST_F(MixerTest, NoMixerDevicesAtAll) {
    DiscoverMixer(Window);
    EXPECT_TRUE(view.disabled);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"Looking for mixer control", "Unable to find mixer control on system."}));
}

TEST_F(MixerTest, HoldingVolumeUpRaisesOneStepATickAndTheClosingClickAddsNone) {
    StartWithVolume(10000);
    view.heldButton = VolumeUpButton;
    for (int tick = 0; tick < 10; ++tick) VolumeRepeatTick();
    // The release and its click come in one message, before any further tick.
    view.heldButton = 0;
    EXPECT_TRUE(VolumeButtonClicked(VolumeUpButton));
    EXPECT_EQ(fake.writes.size(), 10u);
    EXPECT_EQ(fake.values[VolumeId], 10000u + 10 * 1280);
    EXPECT_FALSE(Shell().volumeRepeated);

    // The next quick click on volume down lowers by exactly one step.
    EXPECT_TRUE(VolumeButtonClicked(VolumeDownButton));
    EXPECT_EQ(fake.values[VolumeId], 10000u + 9 * 1280);
    EXPECT_EQ(fake.writes.size(), 11u);
    EXPECT_FALSE(Shell().volumeRepeated);
}

TEST_F(MixerTest, AHoldReleasedOffTheButtonDoesNotSwallowTheNextClick) {
    StartWithVolume(10000);
    view.heldButton = VolumeDownButton;
    VolumeRepeatTick();
    VolumeRepeatTick();
    EXPECT_EQ(fake.values[VolumeId], 10000u - 2 * 1280);
    // Released with the mouse off the button: no click comes.
    view.heldButton = 0;
    VolumeRepeatTick();
    VolumeButtonClicked(VolumeUpButton);
    EXPECT_EQ(fake.values[VolumeId], 10000u - 1280);
}

TEST_F(MixerTest, StepsStopAtTheBoundsInsteadOfWrappingRound) {
    StartWithVolume(65000);
    VolumeButtonClicked(VolumeUpButton);
    EXPECT_EQ(fake.values[VolumeId], 65535u);
    fake.values[VolumeId] = 500;
    VolumeButtonClicked(VolumeDownButton);
    EXPECT_EQ(fake.values[VolumeId], 0u);
}

TEST_F(MixerTest, AFailedReadChangesNothing) {
    StartWithVolume(10000);
    fake.failingReads = {VolumeId, MuteId};
    VolumeButtonClicked(VolumeUpButton);
    VolumeButtonClicked(VolumeBar);
    MixerControlChanged(MixerState().mixerHandle, VolumeId);
    EXPECT_TRUE(fake.writes.empty());
    EXPECT_EQ(MixerState().volumeValue, 10000u);
    EXPECT_EQ(view.redraws, 0);
}

// Like the fake, some drivers send no change notice for the program's own writes.
TEST_F(MixerTest, MuteTogglesOnAndOffWithoutWaitingForANotice) {
    StartWithVolume(10000);
    EXPECT_TRUE(VolumeButtonClicked(VolumeBar));
    EXPECT_EQ(MixerState().muteValue, 1);
    EXPECT_EQ(view.redraws, 1);
    VolumeButtonClicked(VolumeBar);
    EXPECT_EQ(fake.writes, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{MuteId, 1}, {MuteId, 0}}));
    EXPECT_EQ(MixerState().muteValue, 0);
    EXPECT_EQ(LogLines().back(), "Mute set to:  0");

    // Muted by another program, announced: the next click unmutes.
    fake.values[MuteId] = 1;
    MixerControlChanged(MixerState().mixerHandle, MuteId);
    VolumeButtonClicked(VolumeBar);
    EXPECT_EQ(fake.writes.back(), std::make_pair(MuteId, 0u));
}

TEST_F(MixerTest, AChangeNoticeOfTheVolumeControlRefreshesTheBar) {
    StartWithVolume(10000);
    fake.values[VolumeId] = 20000;
    MixerControlChanged(MixerState().mixerHandle + 1, VolumeId); // another mixer
    MixerControlChanged(MixerState().mixerHandle, 99);           // another control
    EXPECT_EQ(MixerState().volumeValue, 10000u);
    EXPECT_EQ(view.redraws, 0);

    MixerControlChanged(MixerState().mixerHandle, VolumeId);
    EXPECT_EQ(MixerState().volumeValue, 20000u);
    EXPECT_EQ(view.redraws, 1);
    EXPECT_TRUE(fake.writes.empty());
}

// The system's own driver numbers a line's controls from 0: volume 0, mute 1.
TEST_F(MixerTest, AControlWithIdZeroIsAControlLikeAnyOther) {
    FakeMixerDevice device;
    device.productName = "PulseAudio";
    device.destinations = {Destination(0xFFFF0000u, mixer::ComponentDstSpeakers, "Master Volume",
                                       {Control(0, mixer::ControlTypeVolume, "Volume", 65535, 192),
                                        Control(1, mixer::ControlTypeMute, "Mute", 1, 0)})};
    fake.devices = {device};
    fake.values[0] = 65535;
    DiscoverMixer(Window);
    ASSERT_NE(MixerState().mixerHandle, 0u);
    EXPECT_EQ(MixerState().volumeValue, 65535u);

    VolumeButtonClicked(VolumeDownButton);
    EXPECT_EQ(fake.values[0], 65535u - 1152);
    // This driver sends no notice of the program's own change: the bar follows at once.
    EXPECT_EQ(MixerState().volumeValue, 65535u - 1152);
    EXPECT_EQ(view.redraws, 1);
    EXPECT_EQ(LogLines().back(), "Volume set to:  64383");
    fake.values[0] = 30000;
    MixerControlChanged(MixerState().mixerHandle, 0);
    EXPECT_EQ(MixerState().volumeValue, 30000u);
    EXPECT_EQ(view.redraws, 2);
}

TEST_F(MixerTest, AMixerWithMuteAloneIgnoresNoticesForControlZero) {
    FakeMixerDevice device;
    device.productName = "Mute Only";
    device.destinations = {Destination(1, mixer::ComponentDstSpeakers, "Speakers",
                                       {Control(5, mixer::ControlTypeMute, "Mute", 1, 0)})};
    fake.devices = {device};
    fake.values[0] = 40000; // a control the program did not take
    DiscoverMixer(Window);
    ASSERT_NE(MixerState().mixerHandle, 0u);
    VolumeButtonClicked(VolumeUpButton);
    MixerControlChanged(MixerState().mixerHandle, 0);
    EXPECT_TRUE(fake.writes.empty());
    EXPECT_EQ(MixerState().volumeValue, 0u);
    EXPECT_EQ(view.redraws, 0);
}

TEST(VolumeBar, FillsFromTheBottomWhiteOrGreyWhenMuted) {
    MixerRecord mixer;
    mixer.mixerHandle = 1;
    mixer.volumeMax = 65535;
    mixer.volumeValue = 32768;
    VolumeBarFill fill = VolumeBarFor(mixer, 2, 26);
    EXPECT_TRUE(fill.visible);
    EXPECT_EQ(fill.top, 14);
    EXPECT_FALSE(fill.grey);

    mixer.muteValue = 1;
    fill = VolumeBarFor(mixer, 2, 26);
    EXPECT_TRUE(fill.visible);
    EXPECT_TRUE(fill.grey);

    mixer.volumeValue = 65535;
    EXPECT_EQ(VolumeBarFor(mixer, 2, 26).top, 2);
}

TEST(VolumeBar, AnEmptyFillDrawsNothing) {
    MixerRecord mixer;
    mixer.volumeMax = 65535;
    mixer.volumeValue = 0;
    EXPECT_FALSE(VolumeBarFor(mixer, 0, 24).visible);
    mixer.volumeValue = 1000; // less than a pixel's worth
    EXPECT_FALSE(VolumeBarFor(mixer, 0, 24).visible);
    mixer.volumeMax = 0; // no range at all
    EXPECT_FALSE(VolumeBarFor(mixer, 0, 24).visible);
}

TEST(VolumeBar, StaysInsideTheItemForBoundsOtherThanZero) {
    MixerRecord mixer;
    mixer.volumeMin = 100;
    mixer.volumeMax = 300;
    mixer.volumeValue = 200;
    EXPECT_EQ(VolumeBarFor(mixer, 0, 24).top, 12);
    mixer.volumeValue = 50; // below the minimum: empty, not negative
    EXPECT_FALSE(VolumeBarFor(mixer, 0, 24).visible);
    mixer.volumeValue = 70000; // above the maximum: full, not past the top
    EXPECT_EQ(VolumeBarFor(mixer, 0, 24).top, 0);
}

} // namespace
