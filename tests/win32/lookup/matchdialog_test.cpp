// The Fuzzy Search Results dialog as the lookup thread runs it: what it lists, what a
// choice returns, and how the shutdown ends it.
#include <gtest/gtest.h>

#include <windows.h>

#include <future>
#include <string>
#include <vector>

#include "cddb/matchchoice.h"
#include "resources/resource.h"
#include "tests/support/win32/windowtext.h"

namespace {

const std::vector<std::string> Titles = {"Quiet Hours Trio / Night Shift", "Various Artists / Short Stories",
                                         "Delta Rail / Software and Songs"};

// The dialog is found as soon as it is created; it is filled once it is shown.
HWND WaitForDialog() {
    for (int waited = 0; waited < 10000; waited += 20) {
        HWND dialog = FindWindowA(nullptr, "Fuzzy Search Results");
        if (dialog && IsWindowVisible(dialog)) return dialog;
        Sleep(20);
    }
    return nullptr;
}

// A failed check must not leave the dialog open: the chooser's thread would never end
// and the test program would wait for it forever.
struct CloseDialogOnExit {
    ~CloseDialogOnExit() {
        if (HWND dialog = FindWindowA(nullptr, "Fuzzy Search Results")) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};

std::future<int> ChooseOnAnotherThread() {
    return std::async(std::launch::async, [] { return DefaultMatchChooser().Choose(Titles); });
}

std::string ListText(HWND list, int row) { return ListLineText(list, row); }

TEST(MatchDialog, ListsTheTitlesInOrderAndReturnsTheChosenRow) {
    std::future<int> choice = ChooseOnAnotherThread();
    CloseDialogOnExit closer;
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_MATCH_LIST);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & LBS_SORT);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(ListText(list, row), Titles[static_cast<std::size_t>(row)]);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);

    EXPECT_EQ(ItemText(dialog, IDOK), "Get Information For Selected Title");
    EXPECT_EQ(ItemText(dialog, IDCANCEL), "Current CD Not In List");

    SendMessageA(list, LB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(choice.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(choice.get(), 2);
}

// Runs last: once abandoned, the process's chooser opens no dialog again.
TEST(MatchDialog, AbandonEndsTheOpenChoiceBeforeReturningAndAnyLaterOne) {
    std::future<int> choice = ChooseOnAnotherThread();
    CloseDialogOnExit closer;
    ASSERT_NE(WaitForDialog(), nullptr);
    DefaultMatchChooser().Abandon();
    EXPECT_EQ(FindWindowA(nullptr, "Fuzzy Search Results"), nullptr);
    ASSERT_EQ(choice.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(choice.get(), 0);
    EXPECT_EQ(DefaultMatchChooser().Choose(Titles), 0);
}

} // namespace
