// UTF-8 into the ANSI code page through UTF-16, as the system converts.
#include "platform/ansitext.h"

#include <windows.h>

#include <vector>

bool Utf8ToAnsi(const std::string& utf8, std::string* ansi) {
    if (utf8.empty()) {
        ansi->clear();
        return true;
    }
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (units <= 0) return false; // a system without UTF-8 support
    std::vector<wchar_t> wide(static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, "?", nullptr);
    if (bytes <= 0) return false;
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &out[0], bytes, "?", nullptr);
    *ansi = out;
    return true;
}
