// The system's own conversions, through UTF-16.
#include "platform/codepage.h"

#include <windows.h>

#include "platform/win32/widetext.h"

bool CodePageToUtf8(unsigned codePage, const std::string& bytes, std::string* utf8) {
    if (bytes.empty()) {
        utf8->clear();
        return true;
    }
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, &wide[0], units);
    *utf8 = WideToUtf8(wide);
    return true;
}

bool Utf8ToCodePage(unsigned codePage, const std::string& utf8, std::string* out) {
    if (utf8.empty()) {
        out->clear();
        return true;
    }
    const std::wstring wide = Utf8ToWide(utf8);
    const int units = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr,
                                          &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), units, &result[0], bytes, nullptr, &usedDefault);
    if (usedDefault) return false;
    *out = result;
    return true;
}
