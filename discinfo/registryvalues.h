// Reading and writing single registry values into the program's fields, safely
// whatever the stored value's size or type. Texts are UTF-8 and their widths count
// characters, as the registry seam carries them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/registry.h"

// Reads a value into a text field fieldWidth characters wide, terminator included. On
// success *text holds the value up to its first NUL, at most fieldWidth - 1 characters
// (a value filling the whole width without a terminator loses its last character; a
// binary value is taken up to its stored size), and the function returns true. A
// missing value or one of more characters than the field is wide leaves *text
// untouched and returns false.
bool ReadRegistryText(RegistryKey key, const char* name, std::size_t fieldWidth, std::string* text);

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
// Writes text as REG_SZ in the whole width of its field: its terminator and NULs up to
// fieldWidth characters, as the option fields have always been stored (an ASCII text
// then takes fieldWidth bytes).
long WriteRegistryTextField(RegistryKey key, const char* name, const std::string& text, std::size_t fieldWidth);
long WriteRegistryDword(RegistryKey key, const char* name, std::int32_t value);
