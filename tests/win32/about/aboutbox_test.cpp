// The About box under Wine: the real template, the figures from the system's fallback
// statistics, the re-entry guard and the sampling timer's life.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/shellhandles.h"
#include "resources/resource.h"
#include "ui/about/aboutbox.h"
#include "tests/support/win32/layout.h"
#include "tests/support/win32/windowtext.h"

namespace {

const char* const Caption = "About Tunova2";

// Steps run one after another from a thread timer while the box's modal loop runs; a
// step returns false to be run again on the next tick.
std::vector<std::function<bool(HWND)>> steps;
size_t nextStep = 0;
// Set while a step calls ShowAboutBox itself: a box opened then is closed at once, so a
// broken guard fails the test instead of hanging it.
bool inNestedCall = false;
bool nestedBoxOpened = false;

VOID CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (inNestedCall) {
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, nullptr, Caption)) != nullptr;) {
            nestedBoxOpened = true;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        return;
    }
    HWND box = FindWindowA(nullptr, Caption);
    if (box && nextStep < steps.size() && steps[nextStep](box)) ++nextStep;
}

void ShowAboutBoxRunning(std::vector<std::function<bool(HWND)>> boxSteps) {
    steps = std::move(boxSteps);
    nextStep = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, RunStep);
    ShowAboutBox();
    KillTimer(nullptr, timer);
    EXPECT_EQ(nextStep, steps.size()) << "every step ran while the box was open";
    EXPECT_EQ(FindWindowA(nullptr, Caption), nullptr);
}

bool ClickOk(HWND box) {
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return true;
}

void ExpectSaneFigures(HWND box) {
    const std::string cpu = WindowText(GetDlgItem(box, IDC_CPU_USAGE));
    ASSERT_GE(cpu.size(), 2u) << cpu;
    EXPECT_EQ(cpu[0], '%');
    const std::string number = cpu.substr(1);
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << cpu;
    EXPECT_LE(std::stoi(number), 100);
    const std::string threads = WindowText(GetDlgItem(box, IDC_THREAD_COUNT));
    ASSERT_FALSE(threads.empty());
    EXPECT_EQ(threads.find_first_not_of("0123456789"), std::string::npos) << threads;
    EXPECT_GT(std::stoi(threads), 0);
}

void ExpectTemplate(HWND box, HWND owner) {
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner);

    // The children in template order: text, id and static style.
    struct Child {
        std::string text;
        int id;
        LONG staticStyle;
    };
    const std::vector<Child> expected = {
        {"OK", IDOK, -1},
        {"", -1, SS_ICON},
        {"Tunova 2.21", -1, SS_LEFT},
        {"", -1, SS_ETCHEDHORZ},
        {"", -1, SS_ETCHEDHORZ},
        {"xmcd and the cddb CD database are licenced under the GNU General Public Licence for free software.", -1,
         SS_CENTER},
        {"", -1, SS_ETCHEDHORZ},
        {"System Wide CPU Usage:", -1, SS_RIGHT},
        {"", IDC_CPU_USAGE, SS_LEFT},
        {"Threads In System:", -1, SS_RIGHT},
        {"", IDC_THREAD_COUNT, SS_LEFT},
    };
    size_t index = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, expected.size());
        const Child& want = expected[index];
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), want.id) << "child " << index;
        // The figures vary; an icon's text is the resource number.
        if (want.id != IDC_CPU_USAGE && want.id != IDC_THREAD_COUNT && want.staticStyle != SS_ICON) {
            EXPECT_EQ(WindowText(child), want.text) << "child " << index;
        }
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (want.staticStyle >= 0) {
            EXPECT_EQ(style & SS_TYPEMASK, want.staticStyle) << "child " << index;
        }
    }
    EXPECT_EQ(index, expected.size());
    EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    ExpectLaidOutApart(box);
    const HWND icon = GetWindow(GetWindow(box, GW_CHILD), GW_HWNDNEXT);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "icon 104 is loaded";
}

// A thread timer of this thread that nobody killed shows as a WM_TIMER without a window.
bool ThreadTimerFiresWithin(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == nullptr) return true;
            DispatchMessageA(&message);
        }
        Sleep(20);
    }
    return false;
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { SetAppInstance(GetModuleHandleA(nullptr)); }
};

TEST_F(AboutBox, ShowsTheTemplateAndFiguresAtOnceIgnoresReentryAndStopsSamplingWhenClosed) {
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetMainWindow(owner);
    ShowAboutBoxRunning({
        [&](HWND box) {
            ExpectSaneFigures(box);  // before the first 500 ms period
            ExpectTemplate(box, owner);
            return true;
        },
        [](HWND box) {
            inNestedCall = true;
            ShowAboutBox();
            inNestedCall = false;
            EXPECT_FALSE(nestedBoxOpened) << "a second call returns at once";
            EXPECT_EQ(FindWindowA(nullptr, Caption), box);
            return ClickOk(box);
        },
    });
    EXPECT_FALSE(ThreadTimerFiresWithin(800)) << "the sampling timer stops with the box";
    SetMainWindow(nullptr);
    DestroyWindow(owner);
}

// Opens the box a second time in the process: closing it let it open again.
TEST_F(AboutBox, RefreshesTheFiguresTwiceASecondAndCancelCloses) {
    DWORD cleared = 0;
    ShowAboutBoxRunning({
        [&](HWND box) {
            SetDlgItemTextA(box, IDC_CPU_USAGE, "");
            SetDlgItemTextA(box, IDC_THREAD_COUNT, "");
            cleared = GetTickCount();
            return true;
        },
        [&](HWND box) {
            const bool refreshed = !WindowText(GetDlgItem(box, IDC_THREAD_COUNT)).empty();
            if (!refreshed && GetTickCount() - cleared < 2000) return false;
            EXPECT_TRUE(refreshed);
            EXPECT_LT(GetTickCount() - cleared, 900u) << "within one period and some slack";
            ExpectSaneFigures(box);
            SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
    });
}

// The box's picture is drawn for its screen's scale: the large icon's size there, from
// the icon's own image of that size; moved to a monitor of another scale, it follows.
TEST_F(AboutBox, ThePictureIsDrawnAtTheScreensScale) {
    const auto pictureSize = [](HWND box) {
        HWND picture = GetWindow(GetWindow(box, GW_CHILD), GW_HWNDNEXT);
        ICONINFO info = {};
        if (!GetIconInfo(reinterpret_cast<HICON>(SendMessageW(picture, STM_GETICON, 0, 0)), &info)) return 0;
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return static_cast<int>(bitmap.bmWidth);
    };
    ShowAboutBoxRunning({
        [&](HWND box) {
            EXPECT_EQ(pictureSize(box), GetSystemMetrics(SM_CXICON));
            RECT frame;
            GetWindowRect(box, &frame);
            constexpr UINT DpiChanged = 0x02E0;
            SendMessageW(box, DpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
            EXPECT_EQ(pictureSize(box), GetSystemMetrics(SM_CXICON) * 3 / 2);
            return ClickOk(box);
        },
    });
}

} // namespace
