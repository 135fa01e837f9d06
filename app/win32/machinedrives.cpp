#include <windows.h>

#include "app/startsequence.h"

#include <cwchar>

#include "platform/win32/widetext.h"

std::vector<std::string> MachineCdRomDrives() {
    // Roots such as "D:\" one after another, each terminated, in alphabetical order.
    wchar_t roots[256] = {};
    const DWORD length = GetLogicalDriveStringsW(255, roots);
    std::vector<std::string> drives;
    if (length == 0 || length >= 255) return drives;
    for (const wchar_t* root = roots; *root; root += std::wcslen(root) + 1) {
        if (GetDriveTypeW(root) == DRIVE_CDROM) drives.push_back(WideToUtf8(std::wstring(root, 2)));
    }
    return drives;
}
