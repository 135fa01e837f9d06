// A release found at MusicBrainz becomes the disc's record.
#pragma once

#include "musicbrainz/reply.h"

// Replaces the artist, title and track titles of DiscInfo under DiscInfoLock, each cut
// to the record's limit; a track the release has no title for is left without one.
void StoreMusicBrainzRelease(const MusicBrainzRelease& release);
