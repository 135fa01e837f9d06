#include "platform/inireader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/ansitext.h"
#include "platform/files.h"
#include "platform/utf8text.h"

namespace {

std::string_view Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool IsBareName(const char* fileName) {
    return !std::strchr(fileName, '\\') && !std::strchr(fileName, '/');
}

// The whole file, read afresh for every value as the system's reader does.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return std::nullopt;
    std::string text;
    char block[8192];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, got);
    std::fclose(file);
    return text;
}

std::optional<std::string> FindValue(const std::string& path, std::string_view section, std::string_view key) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return std::nullopt;
    bool inSection = false;
    for (std::size_t at = 0; at < text->size();) {
        std::size_t end = text->find('\n', at);
        if (end == std::string::npos) end = text->size();
        std::string_view line(text->data() + at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        if (trimmed[0] == '[') {
            const std::size_t close = trimmed.find(']');
            const std::string_view name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            // Only the first section of a name counts.
            if (inSection) return std::nullopt;
            inSection = SameName(name, section);
            continue;
        }
        if (!inSection) continue;
        const std::size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos) continue;
        if (SameName(Trim(trimmed.substr(0, equals)), key)) return std::string(Unquote(Trim(trimmed.substr(equals + 1))));
    }
    return std::nullopt;
}

} // namespace

std::string IniFileReader::GetString(const char* section, const char* key, const char* defaultText,
                                     std::size_t maxCharacters, const std::string& fileName) {
    std::string path = fileName;
    if (!fileName.empty() && IsBareName(fileName.c_str())) {
        if (windowsDirectory_.empty()) path.clear();
        else path = windowsDirectory_ + "/" + fileName;
    }
    std::optional<std::string> value;
    if (!path.empty() && section && key) value = FindValue(path, section, key);
    const std::string text = value ? AnsiToUtf8(*value) : std::string(Trim(defaultText ? defaultText : ""));
    return Utf8Prefix(text, maxCharacters);
}
