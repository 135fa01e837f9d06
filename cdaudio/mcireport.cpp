#include "cdaudio/mcireport.h"

#include <memory>

#include "log/logmessage.h"
#include "platform/cdaudiodriver.h"

void LogMciError(const char* literal, std::uint32_t code) {
    constexpr std::uint32_t limit = 128;
    // Zeroed, so that a code the system has no text for logs an empty text.
    std::unique_ptr<char[]> text(new char[limit + 1]());
    CdAudio().ErrorText(code, text.get(), limit);
    text[limit] = '\0';
    LogMessage(literal, text.get());
}
