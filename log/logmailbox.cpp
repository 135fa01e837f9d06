#include "log/logmailbox.h"

#include <atomic>
#include <optional>
#include <thread>

namespace {

struct LogMailbox {
    NamedMutex lock{"TunovaDiagnostics"};
    std::optional<std::string> pendingLogText;
    std::atomic<LogWindowHandle> logWindow{nullptr};
    std::atomic<LogNotifyFunction> notify{nullptr};
};

LogMailbox& Mailbox() {
    static LogMailbox mailbox;
    return mailbox;
}

} // namespace

void AttachLogWindow(LogWindowHandle window, LogNotifyFunction notify) {
    Mailbox().notify = notify;
    Mailbox().logWindow = window;
}

void DetachLogWindow() { Mailbox().logWindow = nullptr; }

LogWindowHandle CurrentLogWindow() { return Mailbox().logWindow.load(); }

NamedMutex& LogLock() { return Mailbox().lock; }

bool TakePendingLogLine(std::string& line) {
    auto& pending = Mailbox().pendingLogText;
    if (!pending) return false;
    line = std::move(*pending);
    pending.reset();
    return true;
}

bool PostLogLine(const std::string& line, void (*onStored)(const std::string&)) {
    LogMailbox& box = Mailbox();
    for (;;) {
        if (!box.logWindow) return false;
        box.lock.Lock();
        if (!box.pendingLogText) break;
        box.lock.Unlock();
        std::this_thread::sleep_for(LogMailboxRetry);
    }
    box.pendingLogText = line;
    if (onStored) onStored(line);
    box.lock.Unlock();

    const LogWindowHandle window = box.logWindow;
    const LogNotifyFunction notify = box.notify;
    if (window && notify) notify(window);
    return true;
}

void AppendToLogText(std::string& text, const std::string& line) {
    if (!text.empty()) text += "\r\n";
    text += line;
}
