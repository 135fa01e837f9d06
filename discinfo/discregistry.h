// The registry's disc records: one key per disc, named by its IdentityKey, under the
// current version's "CD Information" key; older versions' records are read and moved.
#pragma once

#include <cstdint>
#include <string>

// Lookup order; records are only ever written under index 0.
constexpr int DiscKeyCount = 3;
extern const char* const DiscKeyTable[DiscKeyCount];

// Fills DiscInfo from the disc's record and sets foundKeyIndex; 1 when a record was
// found, else 0. Runs before any lookup thread, without the lock.
int LoadDiscFromRegistry();

// Writes the record under the current key (moving one found under an older key), or
// deletes it when nothing is left to store. Holds DiscInfoLock for its whole run.
void SaveDiscToRegistry();

// The disc's cddb query arguments as stored in "cddbID": "%08x %d" of the disc id and
// the track count, " %d" for every track's start frame, " %d" for the disc length in
// seconds. Read from CdDevice.
std::string FormatCddbQueryArguments();
