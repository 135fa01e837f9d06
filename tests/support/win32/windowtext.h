// The text of a window or dialog control, whole however long it is: a cut copy would
// hide a text that runs on too long.
#pragma once

#include <windows.h>

#include <string>

inline std::string WindowText(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

// The text of the dialog's control with this id.
inline std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
