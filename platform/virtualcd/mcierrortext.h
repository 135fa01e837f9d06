// The system's text for an MCI error code, as mciGetErrorString gives it: the Win32
// builds ask winmm, native builds look it up in a table of the codes the virtual drive
// and its tests use.
#pragma once

#include <cstdint>

// False, with an empty buffer, for a code without a text.
bool VirtualMciErrorText(std::uint32_t code, char* buffer, std::uint32_t size);
