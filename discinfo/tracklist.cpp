#include "discinfo/tracklist.h"

#include <string>

namespace {

bool IsSeparator(unsigned char c) { return c <= ' ' || c >= 127; }

} // namespace

std::int32_t ParseLeadingInteger(const char* text) {
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::vector<std::int32_t> ParseTrackList(const char* text, std::int32_t capacity) {
    std::vector<std::int32_t> numbers;
    const char* p = text;
    while (static_cast<std::int32_t>(numbers.size()) < capacity) {
        std::string piece;
        while (*p && !IsSeparator(static_cast<unsigned char>(*p))) piece += *p++;
        if (piece.empty()) break;
        numbers.push_back(ParseLeadingInteger(piece.c_str()));
        if (*p) ++p; // the one separator after the piece
    }
    return numbers;
}

std::vector<std::int32_t> StoredProgram(const std::vector<std::int32_t>& numbers, std::int32_t trackCount) {
    std::vector<std::int32_t> program;
    for (std::int32_t track : numbers)
        if (track >= 1 && track <= trackCount) program.push_back(track);
    bool natural = static_cast<std::int32_t>(program.size()) == trackCount;
    for (std::size_t k = 0; natural && k < program.size(); ++k) natural = program[k] == static_cast<std::int32_t>(k + 1);
    if (natural) program.clear();
    return program;
}
