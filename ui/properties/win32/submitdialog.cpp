// The submit dialog: the guidelines, the entry's category, and a last question when
// the disc is not fully titled.
#include <windows.h>

#include "platform/win32/shellhandles.h"
#include "cdaudio/cddevice.h"
#include "cddb/submitstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "resources/resource.h"
#include "ui/properties/submit.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

void OnInit(HWND dialog) {
    // DS_SYSMODAL asks for this, but not every system honours it.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const std::vector<std::string> lines = CategoryLines(ProgramOptions().cddbCategoryList);
    const HWND categories = GetDlgItem(dialog, IDC_SUBMIT_CATEGORY);
    for (const std::string& line : lines) AddComboLine(categories, line);
    const int selected = PreselectedCategory(Submission().submitCategoryIndex, static_cast<int>(lines.size()));
    SendMessageW(categories, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    // Without a category there is nothing the submission could be filed under.
    EnableControl(dialog, IDOK, selected >= 0);
}

bool DiscComplete() {
    DiscInfoHold hold;
    return DiscInfoComplete(DiscInfo(), CdDevice().trackCount);
}

void OnSubmit(HWND dialog) {
    const int category = static_cast<int>(SendDlgItemMessageW(dialog, IDC_SUBMIT_CATEGORY, CB_GETCURSEL, 0, 0));
    if (category < 0) return;
    if (!DiscComplete() &&
        !ConfirmWarning(dialog, "All CD Information fields have not been completed!\nDo you want to submit your entry as-is?",
                        "Submit Confirmation")) {
        EndDialog(dialog, 0);
        return;
    }
    Submission().submitCategoryIndex = category;
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK SubmitDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnSubmit(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool AskSubmitEntry(HWND page) {
    return DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_SUBMIT_ENTRY), page, SubmitDialogProc, 0) == 1;
}
