// The disc as MusicBrainz knows it: its table of contents in MusicBrainz's form and the
// disc id MusicBrainz derives from it (SHA-1 of the table in upper-case hexadecimal,
// written in MusicBrainz's base64 alphabet).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cdaudio/toc.h"

// The audio session's tracks, positions in frames from the disc's start (the first
// track usually at 150, after the lead-in).
struct MusicBrainzToc {
    std::int32_t firstTrack = 1;
    std::int32_t lastTrack = 0;
    std::int32_t leadOut = 0;
    std::vector<std::int32_t> offsets; // one per track, firstTrack to lastTrack
};

// On an enhanced CD the data tracks at the end lie in a second session: only the audio
// tracks before them count, and the audio ends this many frames before the first data
// track (the first session's lead-out, the second's lead-in and its pregap).
constexpr std::int32_t SessionGapFrames = 11400;

// The MusicBrainz table of a drive's table of trackCount tracks plus its lead-out.
// lastTrack is 0 when there is no table.
MusicBrainzToc MusicBrainzTocOf(const TrackToc* toc, std::int32_t trackCount);

// "first last leadout offset..." with the given separator: '+' in a lookup's query, ' '
// where a plain list is wanted.
std::string MusicBrainzTocText(const MusicBrainzToc& toc, char separator);

// The 28-character disc id, "" for a table without tracks.
std::string MusicBrainzDiscIdOf(const MusicBrainzToc& toc);

// The same for the disc in CdDevice; empty while no table is held.
MusicBrainzToc MusicBrainzTocOfDisc();
std::string MusicBrainzDiscId();
