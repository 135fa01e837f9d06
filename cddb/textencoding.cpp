#include "cddb/textencoding.h"

#include "platform/ansitext.h"

std::string ToProgramText(const std::string& text) {
    if (!IsUtf8BeyondAscii(text)) return text;
    std::string converted;
    return Utf8ToAnsi(text, &converted) ? converted : text;
}
