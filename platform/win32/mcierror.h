// The system's text for an MCI error code (mciGetErrorStringW) as UTF-8, for the real
// and the virtual CD audio drivers alike.
#pragma once

#include <cstdint>

// False, with an empty buffer, for a code without a text; a text longer than the
// buffer is cut between letters.
bool SystemMciErrorText(std::uint32_t code, char* buffer, std::uint32_t size);
