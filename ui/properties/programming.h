// The Programming page's edits of the copy's programmed order. Positions count from 0;
// every change marks the copy's programChanged, which stays set.
#pragma once

struct PropertiesCopy;

int CountProgramEntries(const PropertiesCopy& copy);
// Whether a track (1-based) of the disc in the drive can go into the order: an audio
// track; the drive refuses to play data, so the page's Add stays disabled for it.
bool CanProgramTrack(int track);
// Appends a 1-based track number; false (and no change) for one that cannot be programmed.
bool AppendProgramTrack(PropertiesCopy& copy, int track);
// False (and no change) for a position outside the order.
bool RemoveProgramAt(PropertiesCopy& copy, int position);
// Exchanges the entries at position - 1 and position; false unless both exist.
bool MoveProgramUp(PropertiesCopy& copy, int position);
// Exchanges the entries at position and position + 1; false unless both exist.
bool MoveProgramDown(PropertiesCopy& copy, int position);
// Empties the order; false when it was empty already.
bool ClearProgram(PropertiesCopy& copy);

// The arrow buttons for the entry selected at position: up from the second entry,
// down up to the one before last.
struct ArrowStates {
    bool up = false;
    bool down = false;
};
ArrowStates ArrowsFor(int position, int count);
