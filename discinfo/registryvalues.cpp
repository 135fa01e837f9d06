#include "discinfo/registryvalues.h"

#include <cstring>
#include <limits>
#include <vector>

#include "platform/utf8text.h"

namespace {

// The whole stored value, NULs and all, when it holds at most limit bytes.
bool ReadRegistryBytes(RegistryKey key, const char* name, std::size_t limit, std::string* bytes) {
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
    bytes->assign(buffer.data(), size);
    return true;
}

// The text up to the first NUL, as the program may hold it: a binary value's bytes
// that are no UTF-8 become U+FFFD (text values come through the seam valid already).
std::string TextUpToNul(const std::string& bytes) { return ValidUtf8(bytes.substr(0, bytes.find('\0'))); }

} // namespace

bool ReadRegistryString(RegistryKey key, const char* name, std::size_t limit, std::string* text) {
    std::string bytes;
    if (!ReadRegistryBytes(key, name, limit, &bytes)) return false;
    *text = TextUpToNul(bytes);
    return true;
}

bool ReadRegistryText(RegistryKey key, const char* name, std::size_t fieldWidth, std::string* text) {
    if (fieldWidth == 0) return false;
    // No letter takes more than four bytes, so a longer value cannot fit.
    std::string bytes;
    if (!ReadRegistryBytes(key, name, fieldWidth * 4, &bytes)) return false;
    if (Utf8Length(bytes) > fieldWidth) return false;
    *text = Utf8Prefix(TextUpToNul(bytes), fieldWidth - 1);
    return true;
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

long WriteRegistryTextField(RegistryKey key, const char* name, const std::string& text, std::size_t fieldWidth) {
    const std::string kept = Utf8Prefix(text, fieldWidth > 0 ? fieldWidth - 1 : 0);
    const std::string data = kept + std::string(fieldWidth - Utf8Length(kept), '\0');
    return Registry().SetValue(key, name, RegistryText, data.data(), static_cast<std::uint32_t>(data.size()));
}

long WriteRegistryDword(RegistryKey key, const char* name, std::int32_t value) {
    return Registry().SetValue(key, name, RegistryDword, &value, sizeof value);
}
