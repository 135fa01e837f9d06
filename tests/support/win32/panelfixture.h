// The real main window on a virtual disc, created from the program's own resources and
// run by the test's thread, with helpers to read its menus and to act inside the modal
// loops of menus and dialogs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/shellstate.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/registry.h"
#include "platform/virtualcd/pathforms.h"
#include "resources/resource.h"
#include "tests/support/win32/scratchregistry.h"
#include "tests/support/win32/windowtext.h"

inline void SetVariable(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
    _putenv((std::string(name) + "=" + value).c_str());
}

// Runs the thread's messages for a while; the quit message of a shutdown is dropped.
inline void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

inline bool Grey(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
inline bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

// What a thread timer does while a modal loop (a menu, a dialog) runs on this thread.
inline std::function<bool()>& DuringModal() {
    static std::function<bool()> action;
    return action;
}

inline void CALLBACK OnModalTimer(HWND, UINT, UINT_PTR id, DWORD) {
    // The action returns true once it is done; until then it is tried again.
    if (!DuringModal() || DuringModal()()) {
        KillTimer(nullptr, id);
        DuringModal() = nullptr;
    }
}

class PanelWindowTest : public ::testing::Test {
protected:
    static constexpr const char* ScratchPath = "Software\\Tunova Test\\panel";

    void SetUp() override {
        SetAppInstance(GetModuleHandleW(nullptr));
        registry_ = std::make_unique<InstalledScratchRegistry>(ScratchPath);
        ASSERT_TRUE(registry_->Ready());
    }

    void TearDown() override {
        DuringModal() = nullptr;
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        Pump(50);
        SetVariable("TUNOVA_VIRTUAL_CD", "");
        registry_.reset();
    }

    // Starts the player on a sample disc, as the process entry does.
    void Start(const char* disc) {
        StartOn(WindowsFormOfPath(std::string(TUNOVA_SOURCE_DIR) + "/samples/discs/" + disc));
    }

    // Starts the player on the disc description file at path.
    void StartOn(const std::string& path) {
        ResetShell();
        ResetDiscInfo();
        ProgramOptions() = ProgramOptionsRecord();
        SetVariable("TUNOVA_VIRTUAL_CD", path);
        // As the process entry makes it: a wide window, which gets wide messages.
        window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PANEL), nullptr,
                                     MainWindowProc, 0);
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(Shell().playState, Playing);
        // The lookup thread of an unknown disc reports its end to the window.
        for (int i = 0; i < 100 && DiscInfo().lookupRunning; ++i) Pump(20);
        Pump(50);
    }

    // Runs a command as a menu choice would, modal loops included.
    void Command(int id) { SendMessageW(window_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

    // Sends a message that opens a modal loop; the action runs inside it until it
    // reports success. Returns whether it did.
    bool WhileModal(std::function<bool()> action, UINT message, WPARAM wParam, LPARAM lParam) {
        bool done = false;
        DuringModal() = [action, &done] { return done = action(); };
        SetTimer(nullptr, 0, 50, OnModalTimer);
        // Sent, not posted: the modal loop runs inside this call.
        SendMessageW(window_, message, wParam, lParam);
        DuringModal() = nullptr;
        return done;
    }

    HMENU TrayTracks() { return GetSubMenu(TrayMenu(), 7); }
    HMENU PanelTracks() { return GetSubMenu(PanelMenu(), 0); }

    HWND window_ = nullptr;
    std::unique_ptr<InstalledScratchRegistry> registry_;
};
