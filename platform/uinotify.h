// Worker threads tell windows of the user-interface thread that their work has ended
// with synchronous window messages. Portable code sends them through this seam: the
// Windows builds use SendMessageW, tests install a recorder.
#pragma once

#include <cstdint>

// A window as portable code sees it (an HWND in the Windows builds).
using WindowHandle = void*;

class WindowMessageSender {
public:
    virtual ~WindowMessageSender() = default;
    // Delivers the message and waits until the receiver has handled it.
    virtual std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
};

// Installs the sender for the process (null: the build's own default). Tests install
// theirs before any worker thread runs.
void InstallWindowMessageSender(WindowMessageSender* sender);

// Sends through the installed sender. A null window receives nothing.
std::intptr_t SendWindowMessage(WindowHandle window, unsigned message, std::uintptr_t wParam = 0,
                                std::intptr_t lParam = 0);
