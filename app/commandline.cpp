#include "app/commandline.h"

#include <cstring>

CommandLine ParseCommandLine(const char* cmdLine) {
    CommandLine result;
    if (!cmdLine) return result;
    // "-d" anywhere opens the diagnostics window.
    result.diagnostics = std::strstr(cmdLine, "-d") != nullptr;
    // Only the very start names a drive, and only as "X:\": whatever X is.
    if (std::strlen(cmdLine) >= 3 && cmdLine[1] == ':' && cmdLine[2] == '\\') {
        result.drive[0] = cmdLine[0];
        result.drive[1] = ':';
    }
    return result;
}
