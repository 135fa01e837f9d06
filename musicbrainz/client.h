// One disc id lookup at MusicBrainz: the request (through the HTTPS seam, at most one a
// second for the whole program, a busy server asked once more), the reply read into
// plain results, and every failure told as a query status and in the log.
#pragma once

#include <string>

#include "cdaudio/musicbrainzid.h"
#include "musicbrainz/reply.h"

// Who asks, as MusicBrainz wants every client to say: name/version ( contact ).
extern const char* const MusicBrainzUserAgent;

// The time the whole request may take, connection to last byte.
constexpr int MusicBrainzTimeLimitMs = 30000;

// <server>/ws/2/discid/<id>?toc=<first+last+leadout+offsets>&inc=artist-credits+recordings&fmt=json:
// with the table, the service answers an id it does not know with the releases whose
// table is close to the disc's.
std::string MusicBrainzLookupUrl(const std::string& server, const std::string& discId, const MusicBrainzToc& toc);

// <server>/cdtoc/attach?id=<id>&tracks=<n>&toc=<first+last+leadout+offsets>: the service's
// page where a user files the disc id with a release, or enters the release first.
std::string MusicBrainzSubmissionUrl(const std::string& server, const std::string& discId,
                                     const MusicBrainzToc& toc);

enum class MusicBrainzResult {
    Found,    // answer holds at least one release or stub
    NotFound, // the service knows nothing close to the disc
    Failed,   // the status says why
};

// Asks the server about the disc; the query status and the log tell what happened,
// except for Found, which the caller reports once it has stored or offered the answer.
MusicBrainzResult AskMusicBrainz(const std::string& server, const std::string& discId, const MusicBrainzToc& toc,
                                 MusicBrainzAnswer* answer);
