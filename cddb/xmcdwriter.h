// The xmcd entry of a disc as a new submission sends it: the mail body, in the pieces
// the mail conversation sends one at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TrackToc;

// What an entry is made of, copied out of the live records before anything is sent.
struct XmcdDisc {
    std::uint32_t discId = 0;
    std::vector<std::int32_t> trackOffsets; // each track's start in frames
    std::int32_t discSeconds = 0;
    std::string artist;
    std::string title;
    std::vector<std::string> trackTitles; // one per track; empty for a track without one
};

// One send of the body and the status text its failure reports.
struct XmcdSend {
    std::string text;
    const char* failure;
};

// The track offsets and disc length of a table of trackCount tracks and its lead-out.
void SetXmcdTable(const TrackToc* toc, std::int32_t trackCount, XmcdDisc* disc);

// The text with every CR and LF turned into a blank, so that a value stays on its line.
std::string OneLineText(const std::string& text);
// "artist / title", or the title alone when there is no artist.
std::string DiscTitleValue(const std::string& artist, const std::string& title);
// "key value\r\n" lines of at most 78 bytes before the "\r\n", the value split over as
// many lines as needed, each repeating the key (the rule of SendKeyedValue), never
// inside a letter; a bare key line for an empty value.
std::vector<std::string> KeyedLines(const std::string& key, const std::string& value);

// The body from "# xmcd CD database file" to "PLAYORDER=", without the final ".".
std::vector<XmcdSend> XmcdBodySends(const XmcdDisc& disc);
// The same joined: the entry as a file holds it.
std::string XmcdEntryText(const XmcdDisc& disc);
