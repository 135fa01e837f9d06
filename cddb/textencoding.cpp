#include "cddb/textencoding.h"

#include "platform/ansitext.h"

bool IsUtf8BeyondAscii(const std::string& text) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        beyondAscii = true;
        int extra;
        unsigned minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) return false; // cut short
        unsigned codePoint = lead & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and values past the last code point are not UTF-8.
        if (codePoint < minimum || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return beyondAscii;
}

std::string ToProgramText(const std::string& text) {
    if (!IsUtf8BeyondAscii(text)) return text;
    std::string converted;
    return Utf8ToAnsi(text, &converted) ? converted : text;
}
