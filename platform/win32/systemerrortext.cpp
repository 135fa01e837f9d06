#include <windows.h>

#include "platform/rawcd.h"
#include "platform/win32/widetext.h"

std::string SystemErrorText(std::uint32_t error) {
    wchar_t text[512] = L"";
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text / sizeof text[0], nullptr);
    std::string result = length ? WideToUtf8(text, length) : "Error " + std::to_string(error) + ".";
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}
