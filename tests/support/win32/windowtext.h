// The text of a window or dialog control, whole however long it is: a cut copy would
// hide a text that runs on too long. Read through the wide calls and turned into UTF-8
// here, apart from the program's own conversion, so that a test compares every letter
// the user sees with the UTF-8 text the program was given.
#pragma once

#include <windows.h>

#include <string>

inline std::string Utf8Of(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &text[0], bytes, nullptr, nullptr);
    return text;
}

inline std::wstring WideOf(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &text[0], units);
    return text;
}

inline std::string WindowText(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Utf8Of(text);
}

// The text of the dialog's control with this id.
inline std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// Line index of a list box (LB_GETTEXT) or a drop-down list (CB_GETLBTEXT).
inline std::string LineText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Utf8Of(text);
}
inline std::string ListLineText(HWND list, int index) { return LineText(list, LB_GETTEXTLEN, LB_GETTEXT, index); }
inline std::string ComboLineText(HWND combo, int index) {
    return LineText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

// A menu item's text, by command.
inline std::string MenuText(HMENU menu, UINT id) {
    const int length = GetMenuStringW(menu, id, nullptr, 0, MF_BYCOMMAND);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetMenuStringW(menu, id, &text[0], length + 1, MF_BYCOMMAND);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Utf8Of(text);
}
