#include "platform/win32/widetext.h"

#include <cwchar>

std::wstring CodePageToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], units);
    return wide;
}

std::wstring Utf8ToWide(const std::string& utf8) { return CodePageToWide(CP_UTF8, utf8); }

std::string WideToUtf8(const wchar_t* wide, std::size_t length) {
    if (!wide) return std::string();
    if (length == std::string::npos) length = std::wcslen(wide);
    if (length == 0) return std::string();
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, size, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}
