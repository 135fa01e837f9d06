// The panel for someone who works it by keyboard or hears it read: Tab through its
// buttons, Space and Enter on them, their tips, the status line as text.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/widetext.h"
#include "tests/support/win32/accessible.h"
#include "tests/support/win32/panelfixture.h"

namespace {

// A key as the program's message loop gives it to the panel's dialog manager.
void Key(HWND window, UINT key, bool up = false) {
    MSG message = {};
    message.hwnd = GetFocus() ? GetFocus() : window;
    message.message = up ? WM_KEYUP : WM_KEYDOWN;
    message.wParam = key;
    message.lParam = up ? static_cast<LPARAM>(0xC0000001) : 1;
    if (!IsDialogMessageW(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TEST_F(PanelWindowTest, TabReachesEveryEnabledButtonInTurn) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    SetFocus(GetDlgItem(window_, IDC_PAUSE));
    ASSERT_EQ(GetFocus(), GetDlgItem(window_, IDC_PAUSE));
    // Play is disabled while playing, and the volume buttons without a mixer: Tab passes
    // over them and comes round again.
    std::vector<int> order;
    for (int id : {IDC_STOP, IDC_PREVIOUS, IDC_NEXT, IDC_EJECT, IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_VOLUME_BAR,
                   IDC_PLAY, IDC_PAUSE}) {
        if (IsWindowEnabled(GetDlgItem(window_, id))) order.push_back(id);
    }
    ASSERT_GE(order.size(), 5u);
    for (int id : order) {
        Key(window_, VK_TAB);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), id);
    }
}

TEST_F(PanelWindowTest, SpaceAndEnterRunTheFocusedButton) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    SetFocus(GetDlgItem(window_, IDC_PAUSE));
    Key(window_, VK_SPACE);
    EXPECT_EQ(Shell().playState, Playing) << "a button acts when the key is let go";
    Key(window_, VK_SPACE, true);
    EXPECT_EQ(Shell().playState, Paused);

    SetFocus(GetDlgItem(window_, IDC_STOP));
    Key(window_, VK_RETURN);
    EXPECT_EQ(Shell().playState, Stopped);
    // Stop disabled itself under the focus, which moves on to Play rather than vanish.
    EXPECT_EQ(GetFocus(), GetDlgItem(window_, IDC_PLAY));
    Key(window_, VK_RETURN);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(GetFocus(), GetDlgItem(window_, IDC_PAUSE));
}

// Each button's tip: its name, and the keyboard's key that does the same.
TEST_F(PanelWindowTest, EveryButtonHasItsTip) {
    Start("album.disc");
    HWND tips = PanelTipsWindow();
    ASSERT_NE(tips, nullptr);
    struct Case {
        int id;
        const char* tip;
    };
    const Case cases[] = {
        {IDC_PLAY, "Play (Play/Pause key)"},
        {IDC_PAUSE, "Pause (Play/Pause key)"},
        {IDC_STOP, "Stop (Stop key)"},
        {IDC_PREVIOUS, "Previous Track (Previous Track key)"},
        {IDC_NEXT, "Next Track (Next Track key)"},
        {IDC_EJECT, "Eject"},
        {IDC_VOLUME_UP, "Volume Up (Volume Up key)"},
        {IDC_VOLUME_DOWN, "Volume Down (Volume Down key)"},
        {IDC_VOLUME_BAR, "Mute (Mute key)"},
    };
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(cases)));
    for (const Case& c : cases) {
        wchar_t text[80] = {};
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, c.id));
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(WideToUtf8(text), c.tip) << c.id;
    }
}

// A screen reader reads the status line as it shows.
TEST_F(PanelWindowTest, TheStatusLineReadsAsItsText) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    Command(IDM_PAUSE);
    const std::string line = ItemText(window_, IDC_STATUS);
    ASSERT_EQ(line.rfind("Paused (1) 0:0", 0), 0u) << line;
    EXPECT_EQ(AccessibleName(GetDlgItem(window_, IDC_STATUS)), line);
}

} // namespace
