// The window-message seam on SendMessageW.
#include <windows.h>

#include "platform/uinotify.h"

namespace {

class SendMessageSender : public WindowMessageSender {
public:
    std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        return SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
    }
};

} // namespace

WindowMessageSender& DefaultWindowMessageSender() {
    static SendMessageSender sender;
    return sender;
}
