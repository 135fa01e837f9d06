#include <windows.h>

#include <string>

#include "log/diagnostics.h"
#include "log/logfile.h"
#include "log/logmailbox.h"
#include "log/logmessage.h"
#include "platform/win32/scoped.h"
#include "platform/win32/shellhandles.h"
#include "platform/win32/widetext.h"
#include "platform/win32/windowtext.h"
#include "resources/resource.h"
#include "resources/messageids.h"

namespace {

// How long StartDiagnostics waits for a window that does not come.
constexpr DWORD DiagnosticsStartLimitMs = 5000;
constexpr DWORD DiagnosticsPollMs = 100;
// How long the end of the run waits for the window's thread to close its window.
constexpr DWORD DiagnosticsEndLimitMs = 5000;

void NotifyLogWindow(LogWindowHandle window) {
    SendMessageW(static_cast<HWND>(window), LogPendingMessage, 0, 0);
}

void ShowPendingLine(HWND window) {
    NamedMutexHold hold(LogLock());
    std::string line;
    if (!TakePendingLogLine(line)) return;
    HWND edit = GetDlgItem(window, IDC_LOG_TEXT);
    std::string text = WindowTextUtf8(edit);
    AppendToLogText(text, line);
    const std::wstring shown = Utf8ToWide(text);
    SetWindowTextW(edit, shown.c_str());
    // Keep the newest line in view: the end in the edit's own units, UTF-16.
    const LRESULT end = static_cast<LRESULT>(shown.size());
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

INT_PTR CALLBACK DiagnosticsProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        HICON icon = LoadIconW(AppInstance(), MAKEINTRESOURCEW(IDI_DISC_NOTE));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        AttachLogWindow(window, NotifyLogWindow);
        return TRUE;
    }
    case WM_SIZE:
        MoveWindow(GetDlgItem(window, IDC_LOG_TEXT), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return TRUE;
    case WM_CLOSE:
        // A modal dialog ends through EndDialog; its window is destroyed on the way out.
        EndDialog(window, 0);
        return TRUE;
    case WM_DESTROY:
        DetachLogWindow();
        return TRUE;
    case LogPendingMessage:
        // Release the producer before any work, so it never waits on a redraw.
        if (InSendMessage()) ReplyMessage(1);
        ShowPendingLine(window);
        return TRUE;
    default:
        return FALSE;
    }
}

DWORD WINAPI DiagnosticsThreadProc(LPVOID) {
    LogLock(); // the mailbox's lock exists before the window does
    const INT_PTR result = DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_DIAGNOSTICS), nullptr,
                                           DiagnosticsProc, 0);
    if (result == -1) DetachLogWindow();
    return 0;
}

} // namespace

DiagnosticsThread StartDiagnostics() {
    ScopedHandle thread(CreateThread(nullptr, 0, DiagnosticsThreadProc, nullptr, 0, nullptr));
    if (!thread) {
        AppendLogFile("Unable to start the diagnostics window.");
        return DiagnosticsThread();
    }
    for (DWORD waited = 0; !CurrentLogWindow(); waited += DiagnosticsPollMs) {
        // The thread ending before the window exists means the window failed.
        if (waited >= DiagnosticsStartLimitMs ||
            WaitForSingleObject(thread.Get(), DiagnosticsPollMs) == WAIT_OBJECT_0) {
            if (!CurrentLogWindow()) AppendLogFile("Unable to start the diagnostics window.");
            break;
        }
    }
    return DiagnosticsThread(thread.Release());
}

DiagnosticsThread::~DiagnosticsThread() {
    const ScopedHandle thread(thread_);
    if (!thread) return;
    // The window may still be open at the end of the run; its thread ends with it.
    if (const HWND window = static_cast<HWND>(CurrentLogWindow())) PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread.Get(), DiagnosticsEndLimitMs);
}
