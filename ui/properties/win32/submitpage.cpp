// The cddb Submit page: the SMTP settings, the submission's status while the page is
// active, and "Submit New Entry Now".
#include <windows.h>
#include <commctrl.h>

#include "cddb/submitstate.h"
#include "discinfo/submitstatus.h"
#include "cddb/submitthread.h"
#include "discinfo/discinfo.h"
#include "platform/uinotify.h"
#include "resources/resource.h"
#include "ui/properties/cddbactions.h"
#include "ui/properties/pages.h"
#include "ui/properties/query.h"
#include "ui/properties/submit.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

// Runs on the submission thread: the page's slot says whether the field is there to set.
void ShowStatus(const char* text) {
    if (const HWND page = static_cast<HWND>(PropertyPages().submitPage.load()))
        SetItemTextUtf8(page, IDC_SUBMIT_STATUS, text);
}

void ShowSubmitButton(HWND page) {
    EnableControl(page, IDC_SUBMIT_NOW, CddbActionEnabled(DiscInfo().lookupRunning, Submission().submitRunning != 0));
}

void Init(HWND page, PageContext&) {
    // The fields take no more than the copy keeps, so nothing typed is dropped unseen.
    SendDlgItemMessageW(page, IDC_SUBMIT_RETURN_ADDRESS, EM_LIMITTEXT, SmtpTextLength, 0);
    SendDlgItemMessageW(page, IDC_SUBMIT_SMTP_SERVER, EM_LIMITTEXT, SmtpTextLength, 0);
}

void StorePage(HWND page, PropertiesCopy& copy) {
    StoreSubmitPage(SubmitPageValues{ControlText(page, IDC_SUBMIT_RETURN_ADDRESS),
                                     ControlText(page, IDC_SUBMIT_SMTP_SERVER)},
                    copy);
}

void Activated(HWND page, PageContext& context) {
    const SubmitPageValues values = SubmitPageFromCopy(context.copy);
    SetItemTextUtf8(page, IDC_SUBMIT_RETURN_ADDRESS, values.returnAddress);
    SetItemTextUtf8(page, IDC_SUBMIT_SMTP_SERVER, values.serverName);
    ShowSubmitButton(page);
    // The listener after the slot: a status set from here on reaches the field, and the
    // stored text shown next is at least as new as any sent before. Without it, a
    // submission that ended while another page was active would still look under way.
    SetSubmitStatusListener(ShowStatus);
    SetItemTextUtf8(page, IDC_SUBMIT_STATUS, SubmitStatusText());
}

void Released(HWND) { SetSubmitStatusListener(nullptr); }

void Store(HWND page, PageContext& context) { StorePage(page, context.copy); }

void OnSubmitNow(HWND page, PropertiesCopy& copy) {
    if (Submission().submitRunning) return;
    StorePage(page, copy);
    switch (PrepareSubmission(copy)) {
    case CddbActionOutcome::MissingSettings:
        ShowMessageBox(page, "You must specify both the return address and the SMTP server name.", "Submit Error",
                       MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
        return;
    case CddbActionOutcome::Ready:
        break;
    default:
        return;
    }
    if (!AskSubmitEntry(page)) return;
    EnableControl(page, IDC_SUBMIT_NOW, false);
    if (!StartSubmitThread()) ShowSubmitButton(page); // no thread: nothing will end it
}

bool Command(HWND page, PageContext& context, int id, int code) {
    if (id != IDC_SUBMIT_NOW || code != BN_CLICKED) return false;
    OnSubmitNow(page, context.copy);
    return true;
}

void WorkEnded(HWND page, PageContext&) { ShowSubmitButton(page); }

} // namespace

// Takes DiscInfoLock only around the early commit of "Submit New Entry Now"; the status
// arrives from the submission thread, which holds no lock while it sets the field.
const PageHandlers SubmitPage = [] {
    PageHandlers page;
    page.slot = &PropertyPagesRecord::submitPage;
    page.workEndedMessage = WorkEndedPageMessage;
    page.init = Init;
    page.activated = Activated;
    page.store = Store;
    page.released = Released;
    page.command = Command;
    page.workEnded = WorkEnded;
    return page;
}();
