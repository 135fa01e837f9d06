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

std::string PathBeside(const std::string& base, const std::string& name) {
    const bool absolute = (!name.empty() && (name[0] == '/' || name[0] == '\\')) || (name.size() > 1 && name[1] == ':');
    if (absolute) return LocalFormOfPath(name);
    const std::size_t slash = base.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : base.substr(0, slash + 1)) + name;
}
