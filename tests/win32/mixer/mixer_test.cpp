// The volume controls on the real main window against the system's mixer: Wine's
// PulseAudio driver on a null sink, which tunova.sh starts for this program. The cases
// named NoAudioDriver* expect a system without an audio driver; tunova.sh runs them in
// that setting (GTEST_FILTER picks one group or the other).
//
// What the driver does, unlike a scripted mixer: its controls are numbered from 0
// (volume 0, mute 1), it refuses values out of bounds, it sends no change notice for
// any write, and each process has a volume of its own that starts at the maximum.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "log/logfile.h"
#include "app/mixer.h"
#include "app/win32/mixerwindow.h"
#include "platform/fakemixer.h"
#include "resources/commandids.h"
#include "tests/support/win32/panelfixture.h"

namespace {

constexpr std::uint32_t VolumeId = 11, MuteId = 12;

FakeMixerDevice SpeakersMixer() {
    FakeMixerDevice device;
    device.productName = "Fake Audio Mixer";
    FakeMixerDestination speakers;
    speakers.line.lineId = 1;
    speakers.line.componentType = mixer::ComponentDstSpeakers;
    speakers.line.name = "Speakers";
    MixerControl volume;
    volume.id = VolumeId;
    volume.type = mixer::ControlTypeVolume;
    volume.name = "Master Volume";
    volume.maximum = 65535;
    volume.steps = 32;
    MixerControl mute;
    mute.id = MuteId;
    mute.type = mixer::ControlTypeMute;
    mute.name = "Master Mute";
    mute.maximum = 1;
    speakers.controls = {volume, mute};
    speakers.line.controlCount = 2;
    device.destinations = {speakers};
    return device;
}

// The system mixer as another program would see it: a handle of the test's own on the
// first device, sharing the player's volume (the process's).
class SystemMixer {
public:
    SystemMixer() { opened_ = mixerOpen(&mixer_, 0, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR; }
    ~SystemMixer() {
        if (opened_) mixerClose(mixer_);
    }
    bool Opened() const { return opened_; }
    std::uint32_t Read(std::uint32_t controlId) {
        MIXERCONTROLDETAILS_UNSIGNED detail{};
        MIXERCONTROLDETAILS details = Details(controlId, &detail);
        EXPECT_EQ(mixerGetControlDetailsA(Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE),
                  MMRESULT(MMSYSERR_NOERROR));
        return detail.dwValue;
    }
    void Write(std::uint32_t controlId, std::uint32_t value) {
        MIXERCONTROLDETAILS_UNSIGNED detail{};
        detail.dwValue = value;
        MIXERCONTROLDETAILS details = Details(controlId, &detail);
        ASSERT_EQ(mixerSetControlDetails(Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE),
                  MMRESULT(MMSYSERR_NOERROR));
    }

private:
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(mixer_); }
    static MIXERCONTROLDETAILS Details(std::uint32_t controlId, MIXERCONTROLDETAILS_UNSIGNED* detail) {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = controlId;
        details.cChannels = 1;
        details.cbDetails = sizeof *detail;
        details.paDetails = detail;
        return details;
    }
    HMIXER mixer_ = nullptr;
    bool opened_ = false;
};

class MixerWindowTest : public ::testing::Test {
protected:
    static constexpr const char* ScratchPath = "Software\\Tunova Test\\mixer";

    void SetUp() override {
        SetAppInstance(GetModuleHandleA(nullptr));
        registry_ = std::make_unique<InstalledScratchRegistry>(ScratchPath);
        ASSERT_TRUE(registry_->Ready());
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        logPath_ = std::string(temp) + "tunova_mixer_test.log";
        DeleteFileA(logPath_.c_str());
        SetLogFilePath(logPath_);
    }

    void TearDown() override {
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        Pump(50);
        SetLogFilePath("");
        InstallMixerApi(nullptr);
        SetVariable("TUNOVA_VIRTUAL_CD", "");
        registry_.reset();
    }

    void Start() {
        ResetShell();
        ResetDiscInfo();
        ProgramOptions() = ProgramOptionsRecord();
        SetVariable("TUNOVA_VIRTUAL_CD",
                    WindowsFormOfPath(std::string(TUNOVA_SOURCE_DIR) + "/samples/discs/album.disc"));
        window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PANEL), nullptr,
                                     MainWindowProc, 0);
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(Shell().playState, Playing);
        for (int i = 0; i < 100 && DiscInfo().lookupRunning; ++i) Pump(20);
    }

    // The player on the system's mixer, the panel shown, the volume set beforehand.
    void StartWithSystemMixer(std::uint32_t volume) {
        ASSERT_TRUE(system_.Opened()) << "no audio driver: tunova.sh runs this with PulseAudio";
        system_.Write(volume_, volume);
        system_.Write(mute_, 0);
        Start();
        ASSERT_NE(MixerState().mixerHandle, 0u);
        Command(IDM_SHOW_CONTROLS);
    }

    // What a driver that sends change notices would send after another program's change.
    void Notice(std::uint32_t controlId) {
        SendMessageA(window_, mixer::ControlChangeMessage, static_cast<WPARAM>(MixerState().mixerHandle), controlId);
    }

    void Command(int id) { SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(window_, id)) != FALSE; }
    void Click(int id) { SendDlgItemMessageA(window_, id, BM_CLICK, 0, 0); }
    void Hold(int id, bool held) { SendDlgItemMessageA(window_, id, BM_SETSTATE, held ? TRUE : FALSE, 0); }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::ifstream in(logPath_);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    static constexpr std::uint32_t volume_ = 0, mute_ = 1; // the driver's control ids
    static constexpr std::uint32_t step_ = 1152;           // 192 steps: 192 * (65535 / 50 / 192)
    HWND window_ = nullptr;
    SystemMixer system_;
    std::unique_ptr<InstalledScratchRegistry> registry_;
    FakeMixerApi fake_;
    std::string logPath_;
};

constexpr std::uint32_t Background = 0x123456;

// The bar drawn by the window into a white 32-bit canvas of the bar's size.
std::vector<std::uint32_t> DrawBar(HWND window, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    std::uint32_t* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int i = 0; i < width * height; ++i) pixels[i] = Background;
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_VOLUME_BAR;
    item.hwndItem = GetDlgItem(window, IDC_VOLUME_BAR);
    item.itemAction = ODA_DRAWENTIRE;
    item.hDC = dc;
    item.rcItem = RECT{0, 0, width, height};
    SendMessageA(window, WM_DRAWITEM, IDC_VOLUME_BAR, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    std::vector<std::uint32_t> column;
    for (int y = 0; y < height; ++y) column.push_back(pixels[y * width + width / 2] & 0xFFFFFF);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return column;
}

TEST(NoAudioDriver, TheSystemHasNoMixerToOpen) {
    MixerApi& system = Mixers();
    ASSERT_EQ(system.DeviceCount(), 0u) << "this case runs with the prefix's audio driver set to none";
    MixerHandle handle = 0x55;
    EXPECT_NE(system.Open(0, 0, &handle), mixer::NoError);
    EXPECT_EQ(handle, 0u);
}

class NoAudioDriverWindowTest : public MixerWindowTest {};

TEST_F(NoAudioDriverWindowTest, VolumeControlsAreDisabledAndTheBarIsNotDrawn) {
    Start();
    EXPECT_EQ(MixerState().mixerHandle, 0u);
    const std::vector<std::string> lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Looking for mixer control"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Unable to find mixer control on system."), lines.end());
    Command(IDM_SHOW_CONTROLS);
    EXPECT_FALSE(Enabled(IDC_VOLUME_UP));
    EXPECT_FALSE(Enabled(IDC_VOLUME_DOWN));
    EXPECT_FALSE(Enabled(IDC_VOLUME_BAR));
    for (std::uint32_t pixel : DrawBar(window_, 6, 24)) EXPECT_EQ(pixel, Background);
}

TEST_F(MixerWindowTest, DiscoveryTakesTheSpeakersVolumeAndMuteAndEnablesTheControls) {
    StartWithSystemMixer(40000);
    // The discovery's own lines: the disc's lookup thread may log between them.
    std::vector<std::string> lines;
    for (const std::string& line : LogLines()) {
        if (line.rfind("Looking for mixer", 0) == 0 || line.rfind("Found mixer", 0) == 0) lines.push_back(line);
    }
    const auto looking = std::find(lines.begin(), lines.end(), "Looking for mixer control");
    ASSERT_NE(looking, lines.end());
    EXPECT_EQ(std::vector<std::string>(looking, std::min(looking + 5, lines.end())),
              (std::vector<std::string>{"Looking for mixer control", "Found mixer:  PulseAudio",
                                        "Found mixer line:  Master Volume", "Found mixer control:  Volume",
                                        "Found mixer control:  Mute"}));
    const MixerRecord& state = MixerState();
    EXPECT_TRUE(state.hasVolumeControl);
    EXPECT_TRUE(state.hasMuteControl);
    EXPECT_EQ(state.volumeControlId, volume_);
    EXPECT_EQ(state.muteControlId, mute_);
    EXPECT_EQ(state.volumeMin, 0u);
    EXPECT_EQ(state.volumeMax, 65535u);
    EXPECT_EQ(state.volumeStep, step_);
    EXPECT_EQ(state.volumeValue, 40000u);
    EXPECT_EQ(state.muteValue, 0);
    EXPECT_TRUE(Enabled(IDC_VOLUME_UP));
    EXPECT_TRUE(Enabled(IDC_VOLUME_DOWN));
    EXPECT_TRUE(Enabled(IDC_VOLUME_BAR));
}

TEST_F(MixerWindowTest, ClicksStepTheVolumeTheMixerHoldsAndStopAtItsBounds) {
    StartWithSystemMixer(30000);
    Click(IDC_VOLUME_DOWN);
    EXPECT_EQ(system_.Read(volume_), 30000u - step_);
    EXPECT_EQ(MixerState().volumeValue, 30000u - step_) << "the bar follows without a notice";
    Click(IDC_VOLUME_UP);
    Click(IDC_VOLUME_UP);
    EXPECT_EQ(system_.Read(volume_), 30000u + step_);

    // The driver refuses a value past its bounds: the step stops at them.
    system_.Write(volume_, 65000);
    Click(IDC_VOLUME_UP);
    EXPECT_EQ(system_.Read(volume_), 65535u);
    system_.Write(volume_, 500);
    Click(IDC_VOLUME_DOWN);
    EXPECT_EQ(system_.Read(volume_), 0u);
    EXPECT_EQ(MixerState().volumeValue, 0u);
}

TEST_F(MixerWindowTest, AHeldButtonStepsEveryTickWhileThePanelIsShown) {
    StartWithSystemMixer(10000);
    Hold(IDC_VOLUME_UP, true);
    Pump(550);
    Hold(IDC_VOLUME_UP, false);
    const std::uint32_t held = system_.Read(volume_);
    const std::uint32_t steps = (held - 10000) / step_;
    EXPECT_EQ(held, 10000 + steps * step_);
    EXPECT_GE(steps, 3u) << "about one step every 100 ms";
    EXPECT_LE(steps, 7u);
    Click(IDC_VOLUME_UP);
    EXPECT_EQ(system_.Read(volume_), held) << "the click that ends a hold adds no step";

    // Hidden, the panel's timers are stopped: a held button does nothing.
    Command(IDM_HIDE_CONTROLS);
    Hold(IDC_VOLUME_UP, true);
    Pump(300);
    Hold(IDC_VOLUME_UP, false);
    EXPECT_EQ(system_.Read(volume_), held);
}

TEST_F(MixerWindowTest, TheBarShowsTheMixersVolumeWhiteOrGreyWhenMuted) {
    StartWithSystemMixer(32768);
    std::vector<std::uint32_t> bar = DrawBar(window_, 6, 24);
    EXPECT_EQ(bar[11], Background) << "the upper half keeps its background";
    EXPECT_EQ(bar[12], 0xFFFFFFu);
    EXPECT_EQ(bar[23], 0xFFFFFFu);

    Click(IDC_VOLUME_BAR);
    EXPECT_EQ(system_.Read(mute_), 1u);
    EXPECT_EQ(DrawBar(window_, 6, 24)[23], 0x808080u);
    Click(IDC_VOLUME_BAR);
    EXPECT_EQ(system_.Read(mute_), 0u);
    EXPECT_EQ(DrawBar(window_, 6, 24)[23], 0xFFFFFFu);

    // Changed by another program: the notice redraws the bar from the mixer's values.
    system_.Write(volume_, 65535);
    system_.Write(mute_, 1);
    Notice(volume_);
    Notice(mute_);
    EXPECT_EQ(MixerState().volumeValue, 65535u);
    EXPECT_EQ(MixerState().muteValue, 1);
    bar = DrawBar(window_, 6, 24);
    EXPECT_EQ(bar[0], 0x808080u);
    EXPECT_EQ(bar[23], 0x808080u);
}

// Under a high-contrast theme the bar takes the theme's text colours: white would vanish
// on a white theme.
TEST_F(MixerWindowTest, UnderHighContrastTheBarIsInTheThemesTextColours) {
    StartWithSystemMixer(65535);
    Shell().highContrast = true;
    const auto rgb = [](int element) {
        const COLORREF colour = GetSysColor(element);
        return static_cast<std::uint32_t>(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
    };
    EXPECT_EQ(DrawBar(window_, 6, 24)[23], rgb(COLOR_BTNTEXT));
    Click(IDC_VOLUME_BAR);
    EXPECT_EQ(DrawBar(window_, 6, 24)[23], rgb(COLOR_GRAYTEXT));
    Shell().highContrast = false;
}

// The system's driver takes any handle after its close: a scripted mixer tells.
TEST_F(MixerWindowTest, ShutdownClosesTheMixer) {
    fake_.devices = {SpeakersMixer()};
    InstallMixerApi(&fake_);
    Start();
    ASSERT_EQ(fake_.openMixers.size(), 1u);
    EXPECT_EQ(fake_.notifyWindow, reinterpret_cast<std::uintptr_t>(window_));
    DestroyWindow(window_);
    EXPECT_TRUE(fake_.openMixers.empty());
    EXPECT_EQ(MixerState().mixerHandle, 0u);
}

} // namespace
