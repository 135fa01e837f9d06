// The cddb Submit page: the SMTP settings, the submission's status while the page is
// active, and "Submit New Entry Now". It takes DiscInfoLock only around its early
// commit; the status arrives from the submission thread, which holds no lock.
#include <windows.h>
#include <commctrl.h>

#include "cddb/submitstate.h"
#include "discinfo/submitstatus.h"
#include "cddb/submitthread.h"
#include "discinfo/discinfo.h"
#include "platform/uinotify.h"
#include "resources/resource.h"
#include "ui/properties/pages.h"
#include "ui/properties/query.h"
#include "ui/properties/submit.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

PropertiesCopy* Copy() { return DiscInfo().propertiesCopy; }

// Runs on the submission thread: the page's slot says whether the field is there to set.
void ShowStatus(const char* text) {
    if (const HWND page = static_cast<HWND>(PropertyPages().submitPage.load()))
        SetDlgItemTextA(page, IDC_SUBMIT_STATUS, text);
}

void ShowSubmitButton(HWND page) {
    EnableControl(page, IDC_SUBMIT_NOW, CddbActionEnabled(DiscInfo().lookupRunning, Submission().submitRunning != 0));
}

void OnInit(HWND page) {
    // The fields take no more than the copy keeps, so nothing typed is dropped unseen.
    SendDlgItemMessageA(page, IDC_SUBMIT_RETURN_ADDRESS, EM_LIMITTEXT, SmtpTextLength, 0);
    SendDlgItemMessageA(page, IDC_SUBMIT_SMTP_SERVER, EM_LIMITTEXT, SmtpTextLength, 0);
}

void StorePage(HWND page, PropertiesCopy& copy) {
    StoreSubmitPage(SubmitPageValues{ControlText(page, IDC_SUBMIT_RETURN_ADDRESS),
                                     ControlText(page, IDC_SUBMIT_SMTP_SERVER)},
                    copy);
}

void OnActivated(HWND page) {
    if (const PropertiesCopy* copy = Copy()) {
        const SubmitPageValues values = SubmitPageFromCopy(*copy);
        SetDlgItemTextA(page, IDC_SUBMIT_RETURN_ADDRESS, values.returnAddress.c_str());
        SetDlgItemTextA(page, IDC_SUBMIT_SMTP_SERVER, values.serverName.c_str());
    }
    ShowSubmitButton(page);
    // The slot and listener first: a status set from here on reaches the field, and the
    // stored text shown next is at least as new as any sent before. Without it, a
    // submission that ended while another page was active would still look under way.
    PropertyPages().submitPage = page;
    SetSubmitStatusListener(ShowStatus);
    SetDlgItemTextA(page, IDC_SUBMIT_STATUS, SubmitStatusText().c_str());
}

void Deactivate(HWND page) {
    if (PropertyPages().submitPage != page) return;
    SetSubmitStatusListener(nullptr);
    PropertyPages().submitPage = nullptr;
}

void OnSubmitNow(HWND page) {
    PropertiesCopy* copy = Copy();
    if (Submission().submitRunning || !copy) return;
    StorePage(page, *copy);
    if (!HasSmtpSettings(*copy)) {
        MessageBoxA(page, "You must specify both the return address and the SMTP server name.", "Submit Error",
                    MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
        return;
    }
    {
        // The entry is built from what the user sees: texts typed on the CD
        // Information page are committed too (unless a lookup runs).
        DiscInfoHold hold;
        ApplyPropertiesCopy();
    }
    DiscInfoRecord& disc = DiscInfo();
    SendWindowMessage(disc.ownerWindow, disc.changedMessage);
    if (!AskSubmitEntry(page)) return;
    EnableControl(page, IDC_SUBMIT_NOW, false);
    if (!StartSubmitThread()) ShowSubmitButton(page);  // no thread: nothing will end it
}

INT_PTR OnNotify(HWND page, const NMHDR& notice) {
    switch (notice.code) {
    case PSN_SETACTIVE:
        OnActivated(page);
        return AnswerNotification(page, 0);
    case PSN_KILLACTIVE:
        if (PropertiesCopy* copy = Copy()) StorePage(page, *copy);
        Deactivate(page);
        return AnswerNotification(page, FALSE);
    case PSN_APPLY:
        return AcceptSheet(page);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK SubmitPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit(page);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SUBMIT_NOW && HIWORD(wParam) == BN_CLICKED) {
            OnSubmitNow(page);
            return TRUE;
        }
        return FALSE;
    case WorkEndedPageMessage:
        ReplyToWorker();
        ShowSubmitButton(page);
        return TRUE;
    case WM_DESTROY:
        Deactivate(page);
        return FALSE;
    default:
        return FALSE;
    }
}
