// Stored lists of track numbers: the registry's "Program" and Cdplayer.ini's "order".
#pragma once

#include <cstdint>
#include <vector>

// An optional sign and the decimal digits that follow, up to the first other byte, in
// 32-bit wrap-around; no digits give 0.
std::int32_t ParseLeadingInteger(const char* text);

// Splits text at separators (control characters, blanks, bytes of 128 and above) into
// at most capacity numbers. The list ends at the first empty piece, so a leading
// separator or two in a row end it early.
std::vector<std::int32_t> ParseTrackList(const char* text, std::int32_t capacity);

// What a stored list becomes as the disc's program: numbers that name no track of the
// disc (outside 1 to trackCount) are left out, so none reaches playback, and a list
// that is then the natural order 1, 2, ..., trackCount means no program (empty).
std::vector<std::int32_t> StoredProgram(const std::vector<std::int32_t>& numbers, std::int32_t trackCount);
