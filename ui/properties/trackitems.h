// The track lines of the CD Information and Programming pages' lists.
#pragma once

#include <string>
#include <vector>

#include "cdaudio/toc.h"

struct PropertiesCopy;

// "%d) %d:%02d - %s": the track number (from 1), its length and its title.
std::string FormatTrackItem(int track, const TrackToc& entry, const std::string& title);

// The title of a track (1-based) in the copy; empty when it has none.
std::string CopyTrackTitle(const PropertiesCopy& copy, int track);

// The line of a track of the disc in CdDevice, titled from the copy.
std::string TrackItemText(const PropertiesCopy& copy, int track);

// One line per track of the disc in CdDevice, in track order.
std::vector<std::string> DiscTrackItems(const PropertiesCopy& copy);
