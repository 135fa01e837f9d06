// The real property sheet under Wine on a three-track disc: steps run from a thread
// timer inside the sheet's modal loop, one after another.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/shellhandles.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "ui/properties/pages.h"
#include "ui/properties/properties.h"
#include "tests/support/win32/windowtext.h"

inline const char* const SheetCaption = "Tunova Properties";

// Runs the work on another thread, as a worker would, while this one answers what it
// sends, as the modal loop would.
inline void RunElsewhere(void (*work)()) {
    std::atomic<bool> done{false};
    std::thread other([&] {
        work();
        done = true;
    });
    MSG message;
    while (!done) {
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        Sleep(1);
    }
    other.join();
}

// A step returns false to be run again on the next tick.
using SheetStep = std::function<bool(HWND sheet)>;

struct StepRun {
    std::vector<SheetStep> steps;
    size_t next = 0;
};

inline StepRun& CurrentRun() {
    static StepRun run;
    return run;
}

inline VOID CALLBACK RunSheetStep(HWND, UINT, UINT_PTR, DWORD) {
    StepRun& run = CurrentRun();
    static bool busy = false;  // a step's own modal loop (a message box) must not re-enter
    if (busy) return;
    HWND sheet = FindWindowA(nullptr, SheetCaption);
    if (!sheet || run.next >= run.steps.size()) return;
    busy = true;
    if (run.steps[run.next](sheet)) ++run.next;
    busy = false;
}


inline std::vector<std::string> ListLines(HWND page, int id) {
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendDlgItemMessageA(page, id, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) lines.push_back(ListLineText(GetDlgItem(page, id), i));
    return lines;
}

inline int ListSelection(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageA(page, id, LB_GETCURSEL, 0, 0));
}

inline HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

inline void ShowTab(HWND sheet, int index) { SendMessageA(sheet, PSM_SETCURSEL, index, 0); }

// As the user's click on a button or a list line: the control tells its page.
inline void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
inline void PickLine(HWND page, int id, int index) {
    SendDlgItemMessageA(page, id, LB_SETCURSEL, index, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}
inline void DoubleClickLine(HWND page, int id, int index) {
    PickLine(page, id, index);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}
// Typing over the field's whole text, as the keyboard or a paste does: the edit tells
// its page of the change (a multi-line edit says nothing of a program's WM_SETTEXT).
// The text is UTF-8, typed as the letters it holds.
inline void Type(HWND page, int id, const std::string& text) {
    SendDlgItemMessageW(page, id, EM_SETSEL, 0, -1);
    SendDlgItemMessageW(page, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(WideOf(text).c_str()));
}

inline bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }
inline bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

inline bool PressOk(HWND sheet) {
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return true;
}
inline bool PressCancel(HWND sheet) {
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return true;
}

// Answers the open message box of that caption with the button; false while none is open.
inline bool AnswerBox(const char* caption, int button, std::string* text = nullptr) {
    HWND box = FindWindowA(nullptr, caption);
    if (!box) return false;
    if (text) {
        *text = "";
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char className[32] = {};
            GetClassNameA(child, className, sizeof className);
            if (lstrcmpiA(className, "Static") == 0 && !WindowText(child).empty()) *text = WindowText(child);
        }
    }
    PostMessageA(box, WM_COMMAND, button, 0);
    return true;
}

class SheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetAppInstance(GetModuleHandleA(nullptr));
        ResetDiscInfo();
        ProgramOptions() = ProgramOptionsRecord{};
        CdDeviceRecord& device = CdDevice();
        device.trackCount = 3;
        device.toc = {Track(1, 3, 5), Track(2, 12, 59), Track(3, 4, 7), TrackToc{}};
        DiscInfoRecord& disc = DiscInfo();
        disc.artist = "Old Artist";
        disc.title = "Old Title";
        disc.trackTitles = {std::string("One"), std::nullopt, std::string("Blue Water")};
    }
    void TearDown() override {
        DiscInfo().lookupRunning = false;
        ResetDiscInfo();
        CdDevice() = CdDeviceRecord{};
    }

    static TrackToc Track(int number, int minutes, int seconds) {
        TrackToc entry{};
        entry.type = TrackAudio;
        entry.number = number;
        entry.lengthMinutes = minutes;
        entry.lengthSeconds = seconds;
        return entry;
    }

    // Shows the sheet; every step must have run before it closed.
    int RunSheet(std::vector<SheetStep> steps) {
        CurrentRun() = StepRun{std::move(steps), 0};
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, RunSheetStep);
        const int result = ShowProperties();
        KillTimer(nullptr, timer);
        EXPECT_EQ(CurrentRun().next, CurrentRun().steps.size()) << "every step ran while the sheet was open";
        EXPECT_EQ(FindWindowA(nullptr, SheetCaption), nullptr);
        EXPECT_EQ(DiscInfo().propertiesCopy, nullptr);
        const PropertyPagesRecord& pages = PropertyPages();
        EXPECT_EQ(pages.cdInfoPage.load(), nullptr);
        EXPECT_EQ(pages.programmingPage.load(), nullptr);
        EXPECT_EQ(pages.queryPage.load(), nullptr);
        EXPECT_EQ(pages.submitPage.load(), nullptr);
        return result;
    }
};
