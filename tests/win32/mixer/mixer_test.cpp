// The volume controls on the real main window: with the system's mixer (none under
// Wine) and with a scripted one.
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/log/logfile.h"
#include "app/mixer.h"
#include "app/win32/mixerwindow.h"
#include "platform/fakemixer.h"
#include "tests/win32/panel/panelfixture.h"

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

    void StartWithFakeMixer(std::uint32_t volume) {
        fake_.devices = {SpeakersMixer()};
        fake_.values[VolumeId] = volume;
        InstallMixerApi(&fake_);
        Start();
        ASSERT_EQ(MixerState().mixerHandle, FakeMixerApi::HandleOf(0));
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

    HWND window_ = nullptr;
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

TEST(WinmmMixer, TheSystemWithoutAudioDriverHasNoMixerToOpen) {
    MixerApi& system = Mixers();
    ASSERT_EQ(system.DeviceCount(), 0u) << "the test prefix runs without an audio driver";
    MixerHandle handle = 0x55;
    EXPECT_NE(system.Open(0, 0, &handle), mixer::NoError);
    EXPECT_EQ(handle, 0u);
}

TEST_F(MixerWindowTest, WithoutAMixerTheVolumeControlsAreDisabledAndTheBarIsNotDrawn) {
    Start();
    EXPECT_EQ(MixerState().mixerHandle, 0u);
    const std::vector<std::string> lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Looking for mixer control"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Unable to find mixer control on system."), lines.end());
    Command(40046);
    EXPECT_FALSE(Enabled(IDC_VOLUME_UP));
    EXPECT_FALSE(Enabled(IDC_VOLUME_DOWN));
    EXPECT_FALSE(Enabled(IDC_VOLUME_BAR));
    for (std::uint32_t pixel : DrawBar(window_, 6, 24)) EXPECT_EQ(pixel, Background);
}

TEST_F(MixerWindowTest, ClicksAndHeldButtonsChangeTheVolumeWhileThePanelIsShown) {
    StartWithFakeMixer(10000);
    Command(40046);
    EXPECT_TRUE(Enabled(IDC_VOLUME_UP));
    EXPECT_TRUE(Enabled(IDC_VOLUME_BAR));
    EXPECT_EQ(fake_.notifyWindow, reinterpret_cast<std::uintptr_t>(window_));

    Click(IDC_VOLUME_DOWN);
    EXPECT_EQ(fake_.values[VolumeId], 10000u - 1280);
    Click(IDC_VOLUME_BAR);
    EXPECT_EQ(fake_.values[MuteId], 1u);

    fake_.writes.clear();
    Hold(IDC_VOLUME_UP, true);
    Pump(550);
    Hold(IDC_VOLUME_UP, false);
    const std::size_t steps = fake_.writes.size();
    EXPECT_GE(steps, 3u) << "about one step every 100 ms";
    EXPECT_LE(steps, 7u);
    Click(IDC_VOLUME_UP);
    EXPECT_EQ(fake_.writes.size(), steps) << "the click that ends a hold adds no step";
    EXPECT_EQ(fake_.values[VolumeId], 10000u - 1280 + 1280 * steps);

    // Hidden, the panel's timers are stopped: a held button does nothing.
    Command(40048);
    Hold(IDC_VOLUME_UP, true);
    Pump(300);
    Hold(IDC_VOLUME_UP, false);
    EXPECT_EQ(fake_.writes.size(), steps);
}

TEST_F(MixerWindowTest, ChangeNoticesRedrawTheBarWhiteOrGreyWhenMuted) {
    StartWithFakeMixer(32768);
    std::vector<std::uint32_t> bar = DrawBar(window_, 6, 24);
    EXPECT_EQ(bar[11], Background) << "the upper half keeps its background";
    EXPECT_EQ(bar[12], 0xFFFFFFu);
    EXPECT_EQ(bar[23], 0xFFFFFFu);

    fake_.values[VolumeId] = 65535;
    fake_.values[MuteId] = 1;
    const WPARAM mixer = static_cast<WPARAM>(MixerState().mixerHandle);
    SendMessageA(window_, mixer::ControlChangeMessage, mixer, VolumeId);
    SendMessageA(window_, mixer::ControlChangeMessage, mixer, MuteId);
    EXPECT_EQ(MixerState().volumeValue, 65535u);
    EXPECT_EQ(MixerState().muteValue, 1);
    bar = DrawBar(window_, 6, 24);
    EXPECT_EQ(bar[0], 0x808080u);
    EXPECT_EQ(bar[23], 0x808080u);
}

TEST_F(MixerWindowTest, ShutdownClosesTheMixer) {
    StartWithFakeMixer(10000);
    ASSERT_EQ(fake_.openMixers.size(), 1u);
    DestroyWindow(window_);
    EXPECT_TRUE(fake_.openMixers.empty());
    EXPECT_EQ(MixerState().mixerHandle, 0u);
}

} // namespace
