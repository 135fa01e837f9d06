// The MCI error report every device operation uses for a failing command.
#pragma once

#include <cstdint>

// Logs the step's literal with the system's text for code as a text value.
void LogMciError(const char* literal, std::uint32_t code);
