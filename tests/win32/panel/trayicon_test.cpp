// The notification icon as each shell takes it: the record and behaviour asked for, the
// events at version 4 as the shell sends them (the keyboard's among them), and its
// pictures for a dark taskbar.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/trayevents.h"
#include "app/trayicon.h"
#include "platform/win32/widetext.h"
#include "resources/messageids.h"
#include "tests/support/win32/fakenotificationarea.h"
#include "tests/support/win32/panelfixture.h"

namespace {

constexpr DWORD CurrentRecordSize = sizeof(NOTIFYICONDATAW) + sizeof(HICON);

// An icon's colour image: its width and its pixels, top row first, as 0xRRGGBB.
struct IconImage {
    int size = 0;
    std::vector<std::uint32_t> pixels;
    // 0xFFFFFFFF outside the image (or for no image at all).
    std::uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= size || y >= size) return 0xFFFFFFFFu;
        return pixels[static_cast<size_t>(y * size + x)] & 0xFFFFFF;
    }
};

IconImage ReadIcon(HICON icon) {
    IconImage image;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return image;
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    image.size = bitmap.bmWidth;
    image.pixels.resize(static_cast<size_t>(bitmap.bmWidth * bitmap.bmHeight));
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), image.pixels.data(), &format,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return image;
}

// The picture the shell was last given.
HICON LastPicture(const FakeNotificationArea& shell) {
    HICON icon = nullptr;
    for (const FakeNotificationArea::Call& call : shell.calls) {
        if (call.flags & NIF_ICON) icon = call.icon;
    }
    return icon;
}

TEST_F(PanelWindowTest, TheIconAsksEachShellForTheNewestBehaviourItKnows) {
    struct Case {
        unsigned major, minor, build;
        DWORD size;
        std::vector<UINT> versionsAsked;
        int behaviour;
    };
    const Case cases[] = {
        {4, 0, 950, NOTIFYICONDATAW_V1_SIZE, {}, TrayFirstBehaviour},                   // Windows 95, NT 4
        {5, 0, 3900, NOTIFYICONDATAW_V2_SIZE, {4, 3}, TrayKeyboardBehaviour},           // 2000
        {6, 0, 2900, sizeof(NOTIFYICONDATAW), {4, 3}, TrayKeyboardBehaviour},           // XP
        {10, 0, 19041, CurrentRecordSize, {4}, TrayCurrentBehaviour},                   // 10 and 11
    };
    for (const Case& c : cases) {
        FakeNotificationArea shell(c.major, c.minor, c.build);
        Start("album.disc");
        ASSERT_FALSE(shell.Of(NIM_ADD).empty()) << c.major;
        for (const FakeNotificationArea::Call& call : shell.calls) {
            EXPECT_EQ(call.size, c.size) << c.major << ": every record the size the shell takes";
            // Only a behaviour the shell does not know may be refused.
            if (call.message != NIM_SETVERSION) EXPECT_TRUE(call.result) << c.major << ", message " << call.message;
        }
        std::vector<UINT> asked;
        for (const FakeNotificationArea::Call& call : shell.Of(NIM_SETVERSION)) asked.push_back(call.version);
        EXPECT_EQ(asked, c.versionsAsked) << c.major;
        EXPECT_EQ(Shell().trayBehaviour, c.behaviour) << c.major;
        // At version 4 the shell shows the standard tip only when asked: every tip asks.
        for (const FakeNotificationArea::Call& call : shell.calls) {
            if (!(call.flags & NIF_TIP) || c.behaviour != TrayCurrentBehaviour || call.message == NIM_ADD) continue;
            EXPECT_TRUE(call.flags & 0x80) << "NIF_SHOWTIP with " << call.message;
        }
        DestroyWindow(window_);
        ASSERT_EQ(shell.Of(NIM_DELETE).size(), 1u) << c.major;
    }
}

TEST_F(PanelWindowTest, WithoutANotificationAreaNothingMoreIsAsked) {
    FakeNotificationArea shell(10, 0, 19041, false);
    Start("album.disc");
    ASSERT_EQ(shell.Of(NIM_ADD).size(), 1u);
    EXPECT_TRUE(shell.Of(NIM_SETVERSION).empty());
    EXPECT_EQ(Shell().trayBehaviour, TrayFirstBehaviour);
}

// The callback as the shell sends it at version 4: the event and the icon's id in the
// second parameter, the anchor point in the first.
LRESULT SendShellEvent(HWND window, unsigned event, int x = 1000, int y = 740) {
    return SendMessageW(window, TrayCallbackMessage, MAKEWPARAM(x, y), MAKELPARAM(event, TrayIconUid));
}

TEST_F(PanelWindowTest, AtVersionFourSpaceAndEnterPauseAndResumeAndTheClicksStillWork) {
    FakeNotificationArea shell(10, 0, 19041);
    Start("album.disc");
    ASSERT_EQ(Shell().trayBehaviour, TrayCurrentBehaviour);
    SendShellEvent(window_, NIN_KEYSELECT);
    EXPECT_EQ(Shell().playState, Paused);
    SendShellEvent(window_, NIN_KEYSELECT); // Enter's second event
    EXPECT_EQ(Shell().playState, Paused);
    Shell().lastKeySelect -= 5000;
    SendShellEvent(window_, NIN_KEYSELECT);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 1);

    // A double click: the button messages come as before, NIN_SELECT after each click.
    for (unsigned event : {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_LBUTTONDBLCLK, WM_LBUTTONUP, NIN_SELECT}) {
        SendShellEvent(window_, event);
    }
    for (int i = 0; i < 40 && Shell().currentTrack == 1; ++i) Pump(25);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().playState, Playing);
    // One click pauses once the time for a second has passed.
    for (unsigned event : {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}) SendShellEvent(window_, event);
    for (int i = 0; i < 40 && Shell().playState == Playing; ++i) Pump(25);
    EXPECT_EQ(Shell().playState, Paused);
}

// The menu key (or a right click) brings WM_CONTEXTMENU: the menu opens where the shell
// anchors it, once; dismissed with Escape, the keyboard goes back to the icon.
TEST_F(PanelWindowTest, AtVersionFourTheMenuOpensOnceAtTheShellsAnchor) {
    FakeNotificationArea shell(10, 0, 19041);
    Start("album.disc");
    int menusSeen = 0;
    RECT menuPlace{};
    const auto dismissMenu = [&] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (!menu || !IsWindowVisible(menu)) return false;
        ++menusSeen;
        GetWindowRect(menu, &menuPlace);
        EndMenu();
        return true;
    };
    // The press alone opens nothing at version 4; were it to, the loop would end it.
    EXPECT_FALSE(WhileModal(dismissMenu, TrayCallbackMessage, MAKEWPARAM(300, 200), MAKELPARAM(WM_RBUTTONDOWN, TrayIconUid)));
    EXPECT_EQ(menusSeen, 0);
    shell.calls.clear();
    EXPECT_TRUE(WhileModal(dismissMenu, TrayCallbackMessage, MAKEWPARAM(300, 200), MAKELPARAM(WM_CONTEXTMENU, TrayIconUid)));
    EXPECT_EQ(menusSeen, 1);
    EXPECT_EQ(menuPlace.left, 300);
    EXPECT_EQ(menuPlace.top, 200);
    EXPECT_EQ(shell.Of(NIM_SETFOCUS).size(), 1u) << "focus back to the notification area";
    EXPECT_EQ(Shell().playState, Playing) << "no command chosen";
}

// A dark taskbar (Windows 10 and 11) takes the grey-outlined pictures, at the size the
// shell shows; a change of theme brings the other pictures at once.
TEST_F(PanelWindowTest, TheIconsFollowTheTaskbarsTheme) {
    FakeNotificationArea shell(10, 0, 19041);
    const auto setTaskbar = [](std::uint32_t light) {
        RegistryKeyHold key;
        ASSERT_EQ(Registry().CreateKey(RegistryCurrentUser,
                                       "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                       RegistryKeyWrite, key.Out()),
                  RegistrySuccess);
        ASSERT_EQ(Registry().SetValue(key.Get(), "SystemUsesLightTheme", RegistryDword, &light, 4), RegistrySuccess);
    };
    setTaskbar(0);
    Start("album.disc");
    // The disc's outline at the top of the picture: black on a light taskbar.
    const auto outline = [](HICON icon) { return ReadIcon(icon).At(6, 0); };
    ASSERT_FALSE(shell.Of(NIM_ADD).empty());
    const IconImage added = ReadIcon(shell.Of(NIM_ADD)[0].icon);
    EXPECT_EQ(added.size, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(added.At(6, 0), 0x808080u);
    EXPECT_EQ(outline(LastPicture(shell)), 0x808080u) << "the playing picture";

    setTaskbar(1);
    shell.calls.clear();
    SendMessageW(window_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    ASSERT_EQ(shell.Of(NIM_MODIFY).size(), 1u);
    EXPECT_EQ(outline(LastPicture(shell)), 0x000000u);
    shell.calls.clear();
    SendMessageW(window_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    EXPECT_TRUE(shell.Of(NIM_MODIFY).empty()) << "nothing changed, nothing sent";
}

// A new Explorer (restarted, or after the main monitor's scale changed) holds no icons:
// the program adds its own again as it is now.
TEST_F(PanelWindowTest, TheIconComesBackWhenTheTaskbarIsMadeAnew) {
    FakeNotificationArea shell(10, 0, 19041);
    Start("album.disc");
    Command(IDM_PAUSE);
    shell.Restart();
    shell.calls.clear();
    SendMessageW(window_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_EQ(shell.Of(NIM_ADD).size(), 1u);
    const FakeNotificationArea::Call added = shell.Of(NIM_ADD)[0];
    EXPECT_TRUE(added.result);
    EXPECT_EQ(added.callback, TrayCallbackMessage);
    EXPECT_EQ(ReadIcon(added.icon).At(10, 11), 0xFFFF00u) << "the paused picture's bars";
    EXPECT_EQ(WideToUtf8(added.tip).rfind("Paused (1) 0:0", 0), 0u) << WideToUtf8(added.tip);
    EXPECT_EQ(Shell().trayBehaviour, TrayCurrentBehaviour);
}

} // namespace
