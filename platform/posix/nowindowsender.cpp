// Native builds have no windows: messages go nowhere unless a test installs a recorder.
#include "platform/uinotify.h"

namespace {

class NoWindowSender : public WindowMessageSender {
public:
    std::intptr_t Send(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
};

} // namespace

WindowMessageSender& DefaultWindowMessageSender() {
    static NoWindowSender sender;
    return sender;
}
