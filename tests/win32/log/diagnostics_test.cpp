// The diagnostics window under Wine: the real dialog, thread and mailbox.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "log/diagnostics.h"
#include "log/logfile.h"
#include "log/logmailbox.h"
#include "log/logmessage.h"
#include "platform/win32/shellhandles.h"
#include "resources/resource.h"
#include "tests/support/filetext.h"
#include "tests/support/win32/windowtext.h"

namespace {

// One window for the whole program, as in the product: it cannot be reopened.
TEST(DiagnosticsWindow, ShowsEveryLineOfConcurrentProducersAndMatchesTheFile) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "tunova_diag_test.log";
    DeleteFileA(path.c_str());
    SetLogFilePath(path);
    SetAppInstance(GetModuleHandleA(nullptr));

    // Before the window exists only the file gets the line.
    LogMessage("before the window");
    ASSERT_EQ(CurrentLogWindow(), nullptr);

    const DiagnosticsThread diagnostics = StartDiagnostics();
    HWND window = static_cast<HWND>(CurrentLogWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Tunova2 Diagnostics"), window);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0) << "small icon 108 is set";
    HWND edit = GetDlgItem(window, IDC_LOG_TEXT);
    ASSERT_NE(edit, nullptr);
    const LONG style = GetWindowLongA(edit, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);

    constexpr int threads = 3, perThread = 20;
    std::vector<std::thread> producers;
    for (int t = 0; t < threads; ++t) {
        producers.emplace_back([t] {
            for (int i = 0; i < perThread; ++i) {
                const std::string text = "worker " + std::to_string(t) + " step:";
                LogMessageInt(text.c_str(), i);
            }
        });
    }
    for (auto& p : producers) p.join();
    LogMessage("MCI Error opening CD player: \r\n  ", "The specified device is not open or is not recognized by MCI.");
    // A UTF-8 title shows with every letter.
    LogMessage("Title: ", "夜明けの歌 — Песня о море — Ωδή 𝄞");

    const std::string text = WindowText(edit);
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), static_cast<size_t>(threads * perThread + 3));
    std::vector<int> next(threads, 0);
    for (int n = 0; n < threads * perThread; ++n) {
        int t = -1, i = -1;
        ASSERT_EQ(std::sscanf(lines[n].c_str(), "worker %d step:  %d", &t, &i), 2) << lines[n];
        EXPECT_EQ(i, next[t]++);
    }
    EXPECT_EQ(lines[threads * perThread], "MCI Error opening CD player: ");
    EXPECT_EQ(lines[threads * perThread + 1], "   The specified device is not open or is not recognized by MCI.");
    EXPECT_EQ(lines[threads * perThread + 2], "Title:  夜明けの歌 — Песня о море — Ωδή 𝄞");
    EXPECT_EQ(FileText(path), "before the window\r\n" + text + "\r\n");

    // The edit control follows the window's size.
    MoveWindow(window, 10, 10, 400, 300, TRUE);
    RECT client, editRect;
    GetClientRect(window, &client);
    GetWindowRect(edit, &editRect);
    EXPECT_EQ(editRect.right - editRect.left, client.right);
    EXPECT_EQ(editRect.bottom - editRect.top, client.bottom);

    // Closing ends logging to the window for good; the file goes on.
    SendMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 50 && CurrentLogWindow(); ++i) Sleep(20);
    EXPECT_EQ(CurrentLogWindow(), nullptr);
    LogMessage("after the window");
    EXPECT_EQ(FileText(path), "before the window\r\n" + text + "\r\nafter the window\r\n");
    SetLogFilePath("");
    DeleteFileA(path.c_str());
}

TEST(DiagnosticsWindow, AWindowThatCannotBeCreatedDoesNotHoldUpStart) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "tunova_diag_fail.log";
    DeleteFileA(path.c_str());
    SetLogFilePath(path);
    // A module without the dialog template: the window cannot be made.
    SetAppInstance(GetModuleHandleA("kernel32.dll"));
    const DWORD started = GetTickCount();
    const DiagnosticsThread diagnostics = StartDiagnostics();
    EXPECT_LT(GetTickCount() - started, 3000u);
    EXPECT_EQ(CurrentLogWindow(), nullptr);
    LogMessage("still logging");
    EXPECT_EQ(FileText(path), "Unable to start the diagnostics window.\r\nstill logging\r\n");
    SetLogFilePath("");
    SetAppInstance(GetModuleHandleA(nullptr));
    DeleteFileA(path.c_str());
}

} // namespace
