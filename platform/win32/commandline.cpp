#include "platform/win32/commandline.h"

#include <windows.h>

#include "platform/win32/widetext.h"

std::string ArgumentsOf(const wchar_t* commandLine) {
    const wchar_t* p = commandLine ? commandLine : L"";
    if (*p == L'"') {
        for (++p; *p && *p != L'"'; ++p) {
        }
        if (*p == L'"') ++p;
    } else {
        while (*p > L' ') ++p;
    }
    while (*p && *p <= L' ') ++p;
    return WideToUtf8(p);
}

std::string ProgramArguments() { return ArgumentsOf(GetCommandLineW()); }
