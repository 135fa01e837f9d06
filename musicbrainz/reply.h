// A MusicBrainz disc id lookup's JSON reply, read into plain results: for each release
// that holds this disc, the medium that is this disc, with its artist, title and track
// titles in UTF-8. The reply is outside input: its size and nesting are bounded before
// anything is built from it, and a field of the wrong type makes the reply unusable.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cdaudio/musicbrainzid.h"

// The longest reply read, and the deepest nesting of objects and arrays in it. Real
// replies nest about ten deep and stay well under a megabyte for discs filed on dozens
// of releases.
constexpr std::size_t MusicBrainzReplyLimit = 2 * 1024 * 1024;
constexpr int MusicBrainzDepthLimit = 32;

// One release's medium that is the disc in the drive, or a CD stub.
struct MusicBrainzRelease {
    std::string artist;                   // the artist credit with its join phrases
    std::string title;
    std::vector<std::string> trackTitles; // in track order; "Track artist / Track title"
                                          // where the track's credit is not the release's
    std::string year;                     // of the release date, or empty
    std::string country;                  // as the release names it, or empty
    std::string format;                   // the medium's, such as "CD", or empty
    int mediumPosition = 0;               // of mediumCount on the release
    int mediumCount = 0;
};

enum class MusicBrainzAnswerKind {
    DiscId,     // releases filed with this disc id
    TocMatches, // releases whose table of contents is close to the disc's
    CdStub,     // an unchecked entry filed with this disc id
};

struct MusicBrainzAnswer {
    MusicBrainzAnswerKind kind = MusicBrainzAnswerKind::DiscId;
    // In the reply's order; releases with no medium that fits the disc are left out.
    std::vector<MusicBrainzRelease> releases;
};

enum class MusicBrainzReading {
    Read,
    TooLarge,   // longer than MusicBrainzReplyLimit
    Malformed,  // not JSON, or nested deeper than MusicBrainzDepthLimit
    WrongTypes, // JSON, but not of a disc lookup's shape and types
};

// Reads a reply for the disc of the given id and table. On anything but Read, answer
// is left empty.
MusicBrainzReading ReadMusicBrainzReply(const std::string& body, const std::string& discId,
                                        const MusicBrainzToc& toc, MusicBrainzAnswer* answer);

// The line a release shows in the choice dialog: "Artist / Title" followed by what
// tells pressings apart, e.g. "Artist / Title (1997, GB, CD 2/2)".
std::string ReleaseChoiceText(const MusicBrainzRelease& release);
