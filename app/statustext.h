// The time text and the status shown in the notification tip and the panel's line.
#pragma once

#include <string>

#include "cdaudio/cddevice.h"

// The time text for a position in a track, by the TimeDisplayMode option: track time
// elapsed or remaining, disc time elapsed or remaining. Stored in the shell's timeText;
// an unknown mode or a track not on the disc leaves the text as it was.
const std::string& FormatTimeText(int track, int minute, int second);

// The notification tip's longest text in UTF-16 units: its field holds 64 with the
// terminator. A longer text is cut after its last whole character that fits, never
// inside one: a letter beyond the first 65536 takes two units, and goes whole or not at
// all.
constexpr std::size_t TrayTipLimit = 63;
std::string CutTrayTip(const std::string& text);

// "Playing %s - %s" and friends: the tip and the panel's status line for a state.
struct StatusTexts {
    std::string tip;
    std::string line;
};
// For Playing and Paused, timeText and the current track's title (empty: none).
StatusTexts StatusTextsFor(PlayState state, const std::string& timeText, const std::string& title);

// Shows Playing, Paused or Stopped in the tip and, while the panel is shown and not
// being dragged, in its status line.
void ShowStatus(PlayState state);
