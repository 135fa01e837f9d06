// The Properties command on the real main window: one sheet at a time, an accepted new
// program restarts play at its first track, the panel follows Always Visible and the
// menus the accepted options.
#include <windows.h>
#include <commctrl.h>

#include "app/commands.h"
#include "resources/resource.h"
#include "tests/support/win32/panelfixture.h"

namespace {

constexpr int ProgrammingTab = 1;
constexpr int OptionsTab = 4;

int CountSheets() {
    int count = 0;
    for (HWND sheet = nullptr; (sheet = FindWindowExA(nullptr, sheet, nullptr, "Tunova Properties")) != nullptr;)
        ++count;
    return count;
}

HWND ShowSheetTab(HWND sheet, int index) {
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool Topmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class PropertiesCommandTest : public PanelWindowTest {};

TEST_F(PropertiesCommandTest, OkWithANewProgramRestartsPlayAndThePanelAndMenusFollowTheOptions) {
    Start("album.disc");
    Command(CommandShowControls);
    ASSERT_TRUE(Shell().panelVisible);
    ASSERT_FALSE(Topmost(window_));
    ASSERT_FALSE(Checked(TrayMenu(), CommandRandomOrder));
    Command(CommandStop);
    ASSERT_EQ(Shell().playState, Stopped);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_PLAY)));
    const bool done = WhileModal(
        [this] {
            HWND sheet = FindWindowA(nullptr, "Tunova Properties");
            if (!sheet) return false;
            EXPECT_TRUE(Shell().propertiesOpen);
            // The command is ignored while the sheet is open.
            Command(CommandProperties);
            EXPECT_EQ(CountSheets(), 1);
            HWND page = ShowSheetTab(sheet, ProgrammingTab);
            SendDlgItemMessageA(page, IDC_PROGRAM_DISC_ORDER, LB_SETCURSEL, 2, 0);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_DISC_ORDER, LBN_DBLCLK), 0);
            page = ShowSheetTab(sheet, OptionsTab);
            SendDlgItemMessageA(page, IDC_OPT_ON_TOP, BM_CLICK, 0, 0);
            SendDlgItemMessageA(page, IDC_OPT_SHUFFLE, BM_CLICK, 0, 0);
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            return true;
        },
        WM_COMMAND, CommandProperties, 0);
    ASSERT_TRUE(done);
    EXPECT_EQ(CountSheets(), 0);
    EXPECT_FALSE(Shell().propertiesOpen);
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3}));
    EXPECT_EQ(Shell().currentTrack, 3) << "play restarts at the program's first track";
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_PLAY))) << "the buttons show the play at once";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_STOP)));
    EXPECT_TRUE(Topmost(window_));
    EXPECT_TRUE(Checked(TrayMenu(), CommandRandomOrder));

    // Unchecked again and accepted without a program change: no restart, not topmost.
    const bool again = WhileModal(
        [] {
            HWND sheet = FindWindowA(nullptr, "Tunova Properties");
            if (!sheet) return false;
            HWND page = ShowSheetTab(sheet, OptionsTab);
            SendDlgItemMessageA(page, IDC_OPT_ON_TOP, BM_CLICK, 0, 0);
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            return true;
        },
        WM_COMMAND, CommandProperties, 0);
    ASSERT_TRUE(again);
    EXPECT_FALSE(Topmost(window_));
    EXPECT_EQ(Shell().currentTrack, 3);
    EXPECT_EQ(ProgramOptions().ControlsOnTop, 0);
}

} // namespace
