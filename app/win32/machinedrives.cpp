#include <windows.h>

#include "app/startsequence.h"

#include <cstring>

std::vector<std::string> MachineCdRomDrives() {
    // Roots such as "D:\" one after another, each terminated, in alphabetical order.
    char roots[256] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof roots - 1, roots);
    std::vector<std::string> drives;
    if (length == 0 || length >= sizeof roots) return drives;
    for (const char* root = roots; *root; root += std::strlen(root) + 1) {
        if (GetDriveTypeA(root) == DRIVE_CDROM) drives.push_back(std::string(root, 2));
    }
    return drives;
}
