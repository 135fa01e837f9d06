// Finding one disc's entry in an xmcd file and moving its titles into DiscInfo.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// Disc texts are stored cut to this many characters.
constexpr std::size_t XmcdTextLimit = 256;

// What an entry says, joined line by line as the xmcd rules have it.
struct XmcdEntry {
    std::optional<std::string> discTitle;                 // "artist / title", none without DTITLE
    std::vector<std::optional<std::string>> trackTitles;  // one slot per track of the disc
};

// Reads file from its current position to the end of the entry "#FILENAME=<discId>".
// true when that entry was found; entry then holds its titles for a disc of trackCount
// tracks (titles for other track numbers are ignored).
bool ParseXmcdEntry(std::uint32_t discId, std::FILE* file, std::int32_t trackCount, XmcdEntry* entry);

// Splits "artist / title" at the first " / ", else at the first "/": blanks and control
// characters around the cut are dropped; no "/", or "/" first, leaves the artist empty
// and the whole text as the title.
void SplitDiscTitle(const std::string& discTitle, std::string* artist, std::string* title);

// Replaces DiscInfo's artist, title and every track title with the entry's, under
// DiscInfoLock.
void StoreXmcdEntry(const XmcdEntry& entry);

// 1 when the file holds the disc's entry and DiscInfo was updated from it, else 0 with
// DiscInfo untouched. Reads the disc's track count from CdDevice.
int ReadXmcdEntry(std::uint32_t discId, std::FILE* file);
