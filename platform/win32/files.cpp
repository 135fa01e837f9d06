// Files and the environment through the wide calls, which take every letter.
#include "platform/files.h"

#include <windows.h>

#include "platform/win32/widetext.h"

std::FILE* OpenFile(const std::string& utf8Path, const char* mode) {
    return _wfopen(Utf8ToWide(utf8Path).c_str(), Utf8ToWide(mode).c_str());
}

bool RemoveFile(const std::string& utf8Path) { return _wremove(Utf8ToWide(utf8Path).c_str()) == 0; }

std::string EnvironmentText(const char* name) {
    const std::wstring wideName = Utf8ToWide(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) return std::string();
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), &value[0], needed);
    if (length == 0 || length >= needed) return std::string(); // gone or grown in between
    value.resize(length);
    return WideToUtf8(value);
}
