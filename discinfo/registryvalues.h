// Reading and writing single registry values into the program's fixed fields, safely
// whatever the stored value's size or type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/registry.h"

// Reads a value of up to fieldSize bytes into field. On success the field holds the
// text up to its first NUL, always terminated inside the field (a value of exactly
// fieldSize bytes without a terminator loses its last byte; a binary value is taken
// up to its stored size), and the function returns true. A missing value or one
// larger than the field leaves the field untouched and returns false.
bool ReadRegistryText(RegistryKey key, const char* name, char* field, std::size_t fieldSize);

// A text that may be longer than the program keeps: any stored length is read (up to
// its first NUL) and its first maxCharacters characters are kept, never half a
// character, so nothing that is stored goes unread. False, with *text untouched, only
// for a missing value or one the registry will not give.
bool ReadRegistryTextCut(RegistryKey key, const char* name, std::size_t maxCharacters, std::string* text);

// The same into a string, for texts without a fixed field.
bool ReadRegistryString(RegistryKey key, const char* name, std::size_t limit, std::string* text);

// Reads a 4-byte value. A missing value or one of any other size leaves *field as it
// was and returns false; the type is not checked.
bool ReadRegistryDword(RegistryKey key, const char* name, std::int32_t* field);

// Writes text as REG_SZ with its terminator.
long WriteRegistryText(RegistryKey key, const char* name, const char* text);
long WriteRegistryDword(RegistryKey key, const char* name, std::int32_t value);
