#include "platform/uinotify.h"

#include <atomic>

// SendMessageA on Windows; elsewhere a sender that delivers nothing.
WindowMessageSender& DefaultWindowMessageSender();

namespace {
std::atomic<WindowMessageSender*> installedSender{nullptr};
}

void InstallWindowMessageSender(WindowMessageSender* sender) { installedSender = sender; }

std::intptr_t SendWindowMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!window) return 0;
    WindowMessageSender* sender = installedSender;
    return (sender ? *sender : DefaultWindowMessageSender()).Send(window, message, wParam, lParam);
}
