// Native builds: file names and the environment are bytes, taken as UTF-8.
#include "platform/files.h"

#include <cstdlib>

std::FILE* OpenFile(const std::string& utf8Path, const char* mode) { return std::fopen(utf8Path.c_str(), mode); }

bool RemoveFile(const std::string& utf8Path) { return std::remove(utf8Path.c_str()) == 0; }

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
