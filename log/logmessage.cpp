#include "log/logmessage.h"

#include <cstdint>
#include <cstdio>

#include "log/logfile.h"
#include "log/logmailbox.h"

std::string FormatLogLine(const char* text, const void* value, LogKind kind) {
    if (!text) text = "";
    char scratch[512];
    const char* line = text;
    if (value) {
        switch (kind) {
        case LogString:
            std::snprintf(scratch, sizeof scratch, "%s %s", text, static_cast<const char*>(value));
            line = scratch;
            break;
        case LogInt:
            std::snprintf(scratch, sizeof scratch, "%s %d", text, *static_cast<const std::int32_t*>(value));
            line = scratch;
            break;
        case LogFloat:
            std::snprintf(scratch, sizeof scratch, "%s %f", text,
                          static_cast<double>(*static_cast<const float*>(value)));
            line = scratch;
            break;
        case LogHex:
            std::snprintf(scratch, sizeof scratch, "%s %08x", text,
                          static_cast<unsigned>(*static_cast<const std::uint32_t*>(value)));
            line = scratch;
            break;
        case LogNone:
            break;
        }
    }
    std::string result(line);
    if (result.size() > LogLineLimit) result.resize(LogLineLimit);
    return result;
}

void LogMessage(const char* text, const void* value, LogKind kind) {
    const bool toFile = LogFileEnabled();
    if (!CurrentLogWindow() && !toFile) return;

    const std::string line = FormatLogLine(text, value, kind);
    // With a window, the file is written while the mailbox is held, so both show the
    // lines of concurrent producers in the same order.
    if (PostLogLine(line, toFile ? AppendLogFile : nullptr)) return;
    if (toFile) AppendLogFile(line);
}
