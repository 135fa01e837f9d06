#include "platform/inireader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <optional>

namespace {

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool IsBareName(const char* fileName) {
    return !std::strchr(fileName, '\\') && !std::strchr(fileName, '/');
}

std::optional<std::string> FindValue(const std::string& path, const std::string& section, const std::string& key) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string line;
    bool inSection = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        if (trimmed[0] == '[') {
            const std::size_t close = trimmed.find(']');
            const std::string name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            // Only the first section of a name counts.
            if (inSection) return std::nullopt;
            inSection = SameName(name, section);
            continue;
        }
        if (!inSection) continue;
        const std::size_t equals = trimmed.find('=');
        if (equals == std::string::npos) continue;
        if (SameName(Trim(trimmed.substr(0, equals)), key)) return Unquote(Trim(trimmed.substr(equals + 1)));
    }
    return std::nullopt;
}

} // namespace

std::uint32_t IniFileReader::GetString(const char* section, const char* key, const char* defaultText,
                                       char* buffer, std::uint32_t size, const char* fileName) {
    if (!buffer || size == 0) return 0;
    std::string path = fileName ? fileName : "";
    if (fileName && IsBareName(fileName)) {
        if (windowsDirectory_.empty()) path.clear();
        else path = windowsDirectory_ + "/" + fileName;
    }
    std::optional<std::string> value;
    if (!path.empty() && section && key) value = FindValue(path, section, key);
    const std::string text = value ? *value : Trim(defaultText ? defaultText : "");
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = 0;
    return static_cast<std::uint32_t>(count);
}
