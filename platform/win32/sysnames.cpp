#include "platform/sysnames.h"

#include <winsock.h>
#include <windows.h>

bool GetSystemUserName(std::string* name) {
    char buffer[255] = {};
    DWORD size = sizeof buffer;
    if (!GetUserNameA(buffer, &size)) return false;
    buffer[sizeof buffer - 1] = '\0';
    *name = buffer;
    return true;
}

bool GetSystemComputerName(std::string* name) {
    char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof buffer;
    if (!GetComputerNameA(buffer, &size)) return false;
    *name = buffer;
    return true;
}

bool GetSystemHostName(std::string* name) {
    // gethostname needs a started socket layer; the caller runs inside a conversation.
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return false;
    *name = buffer;
    return true;
}

bool CreateUniqueTempFile(const char* directory, const char* prefix, std::string* path) {
    char buffer[MAX_PATH] = {};
    if (GetTempFileNameA(directory, prefix, 0, buffer) == 0) return false;
    *path = buffer;
    return true;
}

bool GetWindowsDirectoryPath(std::string* path) {
    char buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return false;
    *path = buffer;
    return true;
}
