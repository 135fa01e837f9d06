// What every page of the property sheet shares: the notifications' answers and the
// small control helpers the pages' procedures are built from.
#pragma once

#include <windows.h>

#include <string>

// The page procedures, in the sheet's tab order.
INT_PTR CALLBACK CdInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ProgrammingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QueryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SubmitPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The submit dialog, owned by the page: true when the user accepts the submission (its
// category is then submitCategoryIndex).
bool AskSubmitEntry(HWND page);

// A page's answer to a notification of the sheet; the procedure then returns TRUE.
INT_PTR AnswerNotification(HWND page, LONG_PTR result);
// OK: every page marks the sheet accepted and never refuses.
INT_PTR AcceptSheet(HWND page);

// A worker thread's end notice is answered at once, so that the worker goes on while
// the page does its work.
void ReplyToWorker();

// The whole text of a control.
std::string ControlText(HWND page, int id);
void EnableControl(HWND page, int id, bool enable);
bool IsChecked(HWND page, int id);
void SetChecked(HWND page, int id, bool checked);

// The list box's lines replaced.
template <class Lines>
void FillList(HWND page, int id, const Lines& lines) {
    const HWND list = GetDlgItem(page, id);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}
int SelectedItem(HWND page, int id);
void SelectItem(HWND page, int id, int index);
void ReplaceItem(HWND page, int id, int index, const std::string& text);

// Asks a Yes/No question owned by the page, No the default; true for Yes.
bool ConfirmWarning(HWND page, const char* text, const char* caption);
