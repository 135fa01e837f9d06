// The diagnostics log: every subsystem reports its steps and failures here. Lines go
// to the diagnostics window while it exists, and to the file named by TUNOVA_LOG.
#pragma once

#include <cstddef>
#include <string>

enum LogKind {
    LogNone = 0,   // the text alone
    LogString = 1, // "%s %s"
    LogInt = 2,    // "%s %d"
    LogFloat = 3,  // "%s %f", the float widened to double
    LogHex = 4,    // "%s %08x"
};

// The longest line the log keeps; longer ones are cut. The window's buffer sizing
// relies on it.
constexpr std::size_t LogLineLimit = 256;

// value points to a const char*-string, int32_t, float or uint32_t as kind says, or is
// null. Callable from any thread; returns at once when nobody reads the log.
void LogMessage(const char* text, const void* value = nullptr, LogKind kind = LogNone);

// Convenience forms that keep the call sites short.
inline void LogMessage(const char* text, const char* value) { LogMessage(text, value, LogString); }
inline void LogMessageInt(const char* text, int value) { LogMessage(text, &value, LogInt); }
inline void LogMessageHex(const char* text, unsigned value) { LogMessage(text, &value, LogHex); }

// The line as the log shows it, already cut to LogLineLimit characters.
std::string FormatLogLine(const char* text, const void* value, LogKind kind);
