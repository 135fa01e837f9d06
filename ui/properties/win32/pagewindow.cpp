#include "ui/properties/win32/pagewindow.h"

#include <commctrl.h>

#include <vector>

#include "ui/properties/pages.h"

INT_PTR AnswerNotification(HWND page, LONG_PTR result) {
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR AcceptSheet(HWND page) {
    PropertyPages().sheetAccepted = 1;
    return AnswerNotification(page, PSNRET_NOERROR);
}

void ReplyToWorker() {
    if (InSendMessage()) ReplyMessage(0);
}

std::string ControlText(HWND page, int id) {
    const HWND control = GetDlgItem(page, id);
    const int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    return text.data();
}

void EnableControl(HWND page, int id, bool enable) { EnableWindow(GetDlgItem(page, id), enable ? TRUE : FALSE); }

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void SetChecked(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

int SelectedItem(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageA(page, id, LB_GETCURSEL, 0, 0));
}

void SelectItem(HWND page, int id, int index) { SendDlgItemMessageA(page, id, LB_SETCURSEL, index, 0); }

void ReplaceItem(HWND page, int id, int index, const std::string& text) {
    SendDlgItemMessageA(page, id, LB_DELETESTRING, index, 0);
    SendDlgItemMessageA(page, id, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
}

bool ConfirmWarning(HWND page, const char* text, const char* caption) {
    return MessageBoxA(page, text, caption, MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_SYSTEMMODAL) == IDYES;
}
