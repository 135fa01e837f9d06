#include "discinfo/registryvalues.h"

#include <cstring>
#include <limits>
#include <vector>

#include "platform/utf8text.h"

bool ReadRegistryString(RegistryKey key, const char* name, std::size_t limit, std::string* text) {
    // Ask for the size first, so that a huge limit costs no huge buffer.
    std::uint32_t stored = 0;
    if (Registry().QueryValue(key, name, nullptr, nullptr, &stored) != RegistrySuccess) return false;
    if (stored > limit) return false;
    // Read into a scratch buffer: what the registry leaves in a buffer after a failed
    // read is undefined, and a successful one need not be terminated.
    std::vector<char> buffer(stored + 1, 0);
    std::uint32_t size = stored;
    std::uint32_t type = 0;
    if (Registry().QueryValue(key, name, &type, buffer.data(), &size) != RegistrySuccess) return false;
    if (size > stored) return false;
    text->assign(buffer.data(), strnlen(buffer.data(), size));
    return true;
}

namespace {

bool ReadIntoField(RegistryKey key, const char* name, std::size_t limit, char* field, std::size_t fieldSize) {
    if (fieldSize == 0) return false;
    std::string text;
    if (!ReadRegistryString(key, name, limit, &text)) return false;
    if (text.size() > fieldSize - 1) text.resize(fieldSize - 1);
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text.data(), text.size());
    return true;
}

} // namespace

bool ReadRegistryText(RegistryKey key, const char* name, char* field, std::size_t fieldSize) {
    return ReadIntoField(key, name, fieldSize, field, fieldSize);
}

bool ReadRegistryTextCut(RegistryKey key, const char* name, std::size_t maxCharacters, std::string* text) {
    std::string stored;
    if (!ReadRegistryString(key, name, std::numeric_limits<std::uint32_t>::max(), &stored)) return false;
    *text = Utf8Prefix(stored, maxCharacters);
    return true;
}

bool ReadRegistryDword(RegistryKey key, const char* name, std::int32_t* field) {
    std::int32_t value = 0;
    std::uint32_t size = sizeof value;
    std::uint32_t type = 0;
    if (Registry().QueryValue(key, name, &type, &value, &size) != RegistrySuccess) return false;
    if (size != sizeof value) return false;
    *field = value;
    return true;
}

long WriteRegistryText(RegistryKey key, const char* name, const char* text) {
    return Registry().SetValue(key, name, RegistryText, text, static_cast<std::uint32_t>(std::strlen(text) + 1));
}

long WriteRegistryDword(RegistryKey key, const char* name, std::int32_t value) {
    return Registry().SetValue(key, name, RegistryDword, &value, sizeof value);
}
