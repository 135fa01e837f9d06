// The system's names through the wide calls, converted to UTF-8: a user or computer
// named in any script keeps every letter.
#include "platform/sysnames.h"

#include <winsock.h>
#include <windows.h>

#include "platform/ansitext.h"
#include "platform/win32/widetext.h"

bool GetSystemUserName(std::string* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer / sizeof *buffer;
    if (!GetUserNameW(buffer, &size)) return false;
    buffer[sizeof buffer / sizeof *buffer - 1] = L'\0';
    *name = WideToUtf8(buffer);
    return true;
}

bool GetSystemComputerName(std::string* name) {
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof buffer / sizeof *buffer;
    if (!GetComputerNameW(buffer, &size)) return false;
    *name = WideToUtf8(buffer);
    return true;
}

bool GetSystemHostName(std::string* name) {
    // gethostname needs a started socket layer; the caller runs inside a conversation.
    // Winsock 1.1 has no wide form: its text is in the ANSI code page.
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return false;
    *name = AnsiToUtf8(buffer);
    return true;
}

bool CreateUniqueTempFile(const char* directory, const char* prefix, std::string* path) {
    wchar_t buffer[MAX_PATH] = {};
    if (GetTempFileNameW(Utf8ToWide(directory).c_str(), Utf8ToWide(prefix).c_str(), 0, buffer) == 0) return false;
    *path = WideToUtf8(buffer);
    return true;
}

bool GetWindowsDirectoryPath(std::string* path) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    *path = WideToUtf8(buffer, length);
    return true;
}
