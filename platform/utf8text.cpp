#include "platform/utf8text.h"

namespace {

// The letters of the bytes 0x80 to 0x9F in the Windows-1252 page; 0 where it has none.
const unsigned short HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned char ByteAt(const std::string& text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

void AppendCodePoint(std::string& out, unsigned codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// One step through text: the length of the sequence at at, or 1 for a malformed byte.
std::size_t StepAt(const std::string& text, std::size_t at) {
    const std::size_t length = Utf8SequenceLength(text, at);
    return length ? length : 1;
}

} // namespace

std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
    if (at >= text.size()) return 0;
    const unsigned char lead = ByteAt(text, at);
    if (lead < 0x80) return 1;
    std::size_t extra;
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
        return 0;
    }
    if (text.size() - at <= extra) return 0; // cut short
    unsigned codePoint = lead & (0x3Fu >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const unsigned char next = ByteAt(text, at + k);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < minimum || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) return 0;
    return extra + 1;
}

bool IsValidUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::size_t Utf8Length(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += StepAt(text, at)) ++count;
    return count;
}

std::string Utf8Prefix(const std::string& text, std::size_t maxCharacters) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size() && count < maxCharacters; ++count) at += StepAt(text, at);
    return text.substr(0, at);
}

std::size_t Utf8CutBytes(const std::string& text, std::size_t maxBytes) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + StepAt(text, at);
        if (next > maxBytes) break;
        at = next;
    }
    return at;
}

std::string WithoutCutLetter(const std::string& text) {
    // A letter takes at most four bytes: its lead byte is among the last three.
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const std::size_t at = text.size() - back;
        const unsigned char byte = ByteAt(text, at);
        if ((byte & 0xC0) == 0x80) continue; // a continuation byte: look further back
        const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 1;
        return needed > back ? text.substr(0, at) : text;
    }
    return text;
}

void CopyUtf8(const std::string& text, char* buffer, std::size_t size) {
    if (size == 0) return;
    const std::size_t length = Utf8CutBytes(text, size - 1);
    text.copy(buffer, length);
    buffer[length] = '\0';
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const unsigned letter = byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : 0;
        AppendCodePoint(out, letter ? letter : byte);
    }
    return out;
}

std::string Utf8OrLatin1ToUtf8(const std::string& text) {
    return IsValidUtf8(text) ? text : Latin1ToUtf8(text);
}

std::string ValidUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            AppendCodePoint(out, 0xFFFD);
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}
