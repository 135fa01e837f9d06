// Fixed answers for native builds, so that what goes over the wire is predictable.
#include "platform/sysnames.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>

namespace {

struct FixedNames {
    std::mutex mutex;
    std::optional<std::string> user, computer, host, windowsDirectory;
};

FixedNames& Names() {
    static FixedNames names;
    return names;
}

bool Answer(const std::optional<std::string>& fixed, std::string fallback, std::string* name) {
    const std::string& value = fixed ? *fixed : fallback;
    if (value.empty()) return false;
    *name = value;
    return true;
}

std::string MachineName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return std::string();
    return buffer;
}

} // namespace

void SetFixedSystemNames(const char* user, const char* computer, const char* host) {
    FixedNames& names = Names();
    std::lock_guard<std::mutex> hold(names.mutex);
    if (user) names.user = user;
    if (computer) names.computer = computer;
    if (host) names.host = host;
}

bool GetSystemUserName(std::string* name) {
    FixedNames& names = Names();
    std::lock_guard<std::mutex> hold(names.mutex);
    const char* env = std::getenv("USER");
    return Answer(names.user, env ? env : "", name);
}

bool GetSystemComputerName(std::string* name) {
    FixedNames& names = Names();
    std::lock_guard<std::mutex> hold(names.mutex);
    std::string machine = MachineName().substr(0, 15);
    return Answer(names.computer, machine, name);
}

bool GetSystemHostName(std::string* name) {
    FixedNames& names = Names();
    std::lock_guard<std::mutex> hold(names.mutex);
    return Answer(names.host, MachineName(), name);
}

bool CreateUniqueTempFile(const char* directory, const char* prefix, std::string* path) {
    std::string pattern = std::string(directory) + "/" + prefix + "XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return false;
    close(fd);
    *path = pattern;
    return true;
}

void SetFixedWindowsDirectory(const char* path) {
    FixedNames& names = Names();
    std::lock_guard<std::mutex> hold(names.mutex);
    if (path) {
        names.windowsDirectory = path;
    } else {
        names.windowsDirectory.reset();
    }
}

bool GetWindowsDirectoryPath(std::string* path) {
    FixedNames& names = Names();
    std::lock_guard<std::mutex> hold(names.mutex);
    std::error_code error;
    const std::string temporary = std::filesystem::temp_directory_path(error).string();
    return Answer(names.windowsDirectory, error ? std::string() : temporary, path);
}
