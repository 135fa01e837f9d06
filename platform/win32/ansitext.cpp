// The ANSI code page into UTF-8 through UTF-16, as the system converts.
#include "platform/ansitext.h"

#include <windows.h>

#include "platform/utf8text.h"
#include "platform/win32/widetext.h"

std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) return std::string();
    const int size = static_cast<int>(ansi.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    if (units <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, &wide[0], units);
    return WideToUtf8(wide);
}

std::string Utf8OrAnsiToUtf8(const std::string& text) { return IsValidUtf8(text) ? text : AnsiToUtf8(text); }
