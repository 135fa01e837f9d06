#include "platform/virtualcd/pathforms.h"

#include <algorithm>

std::string PosixFormOfPath(const std::string& path) {
    std::string result = path;
    if (result.size() >= 3 && (result[0] == 'Z' || result[0] == 'z') && result[1] == ':' &&
        (result[2] == '\\' || result[2] == '/'))
        result.erase(0, 2);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::string WindowsFormOfPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string LocalFormOfPath(const std::string& path) {
#ifdef _WIN32
    return WindowsFormOfPath(path);
#else
    return PosixFormOfPath(path);
#endif
}
