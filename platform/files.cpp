#include "platform/files.h"

std::filesystem::path FilePath(const std::string& utf8Path) { return std::filesystem::u8path(utf8Path); }

std::string PathText(const std::filesystem::path& path) { return path.u8string(); }
