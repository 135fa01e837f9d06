#include "ui/properties/win32/pagewindow.h"

#include <commctrl.h>

#include <vector>

#include "discinfo/discinfo.h"
#include "ui/properties/pages.h"

namespace {

// DiscInfoLock for one message, when the page wants it.
class DiscInfoHoldIf {
public:
    explicit DiscInfoHoldIf(bool hold) : held_(hold) {
        if (held_) LockDiscInfo();
    }
    ~DiscInfoHoldIf() {
        if (held_) UnlockDiscInfo();
    }
    DiscInfoHoldIf(const DiscInfoHoldIf&) = delete;
    DiscInfoHoldIf& operator=(const DiscInfoHoldIf&) = delete;

private:
    bool held_;
};

// A page's answer to a notification of the sheet.
INT_PTR AnswerNotification(HWND page, LONG_PTR result) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
    return TRUE;
}

PageContext* ContextOf(HWND page) { return reinterpret_cast<PageContext*>(GetWindowLongPtrW(page, DWLP_USER)); }

// Clears the page's slot if it names the page (the sheet may close, or the page be
// left, without the other).
void Release(HWND page, const PageHandlers& handlers) {
    if (!handlers.slot) return;
    std::atomic<WindowHandle>& slot = PropertyPages().*handlers.slot;
    if (slot.load() != page) return;
    if (handlers.released) handlers.released(page);
    slot = nullptr;
}

INT_PTR OnNotify(HWND page, PageContext& context, const NMHDR& notice) {
    const PageHandlers& handlers = context.handlers;
    switch (notice.code) {
    case PSN_SETACTIVE:
        if (handlers.slot) PropertyPages().*handlers.slot = page;
        if (handlers.activated) handlers.activated(page, context);
        return AnswerNotification(page, 0);
    case PSN_KILLACTIVE:
        if (handlers.store) handlers.store(page, context);
        Release(page, handlers);
        return AnswerNotification(page, FALSE);
    case PSN_APPLY:
        // OK: every page marks the sheet accepted and none refuses.
        PropertyPages().sheetAccepted = 1;
        return AnswerNotification(page, PSNRET_NOERROR);
    default:
        return FALSE;
    }
}

INT_PTR HandlePageMessage(HWND page, PageContext& context, UINT message, WPARAM wParam, LPARAM lParam) {
    const PageHandlers& handlers = context.handlers;
    switch (message) {
    case WM_NOTIFY:
        return OnNotify(page, context, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return handlers.command && handlers.command(page, context, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
        Release(page, handlers);
        return FALSE;
    default:
        if (handlers.workEndedMessage && message == handlers.workEndedMessage) {
            if (handlers.workEnded) handlers.workEnded(page, context);
            return TRUE;
        }
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        PageContext* context = reinterpret_cast<PageContext*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        DiscInfoHoldIf hold(context->handlers.underLock);
        if (context->handlers.init) context->handlers.init(page, *context);
        return TRUE;
    }
    PageContext* context = ContextOf(page);
    if (!context) return FALSE; // a message before WM_INITDIALOG
    // A worker's end notice is answered at once, so that the worker goes on while the
    // page does its work (which may wait for DiscInfoLock).
    if (context->handlers.workEndedMessage && message == context->handlers.workEndedMessage && InSendMessage())
        ReplyMessage(0);
    DiscInfoHoldIf hold(context->handlers.underLock);
    return HandlePageMessage(page, *context, message, wParam, lParam);
}

std::string ControlText(HWND page, int id) { return ItemTextUtf8(page, id); }

void EnableControl(HWND page, int id, bool enable) { EnableWindow(GetDlgItem(page, id), enable ? TRUE : FALSE); }

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void SetChecked(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

int SelectedItem(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageW(page, id, LB_GETCURSEL, 0, 0));
}

void SelectItem(HWND page, int id, int index) { SendDlgItemMessageW(page, id, LB_SETCURSEL, index, 0); }

void ReplaceItem(HWND page, int id, int index, const std::string& text) {
    SendDlgItemMessageW(page, id, LB_DELETESTRING, index, 0);
    InsertListLine(GetDlgItem(page, id), index, text);
}

bool ConfirmWarning(HWND page, const std::string& text, const std::string& caption) {
    return ShowMessageBox(page, text, caption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_SYSTEMMODAL) == IDYES;
}
