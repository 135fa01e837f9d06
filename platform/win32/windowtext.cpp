#include "platform/win32/windowtext.h"

#include "platform/win32/widetext.h"

std::string WindowTextUtf8(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    return WideToUtf8(text.c_str(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void SetWindowTextUtf8(HWND window, const std::string& text) { SetWindowTextW(window, Utf8ToWide(text).c_str()); }

std::string ItemTextUtf8(HWND dialog, int id) { return WindowTextUtf8(GetDlgItem(dialog, id)); }

void SetItemTextUtf8(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, Utf8ToWide(text).c_str());
}

void AddListLine(HWND list, const std::string& line) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
}

void InsertListLine(HWND list, int index, const std::string& line) {
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
}

void AddComboLine(HWND combo, const std::string& line) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    return MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), type);
}
