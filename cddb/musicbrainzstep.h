// The MusicBrainz step of the disc lookup, between the local cddb copy and the cddb
// server: ask about the disc in the drive, let the user choose when several releases
// (or close matches) answer, and store the one taken.
#pragma once

#include <string>

// true when titles were found and stored; false sends the lookup on to the next source.
// Runs on the lookup thread.
bool SearchMusicBrainz(const std::string& server);
