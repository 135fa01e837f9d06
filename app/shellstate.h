// The shell's process-wide state, owned by the user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"

// Per track: whether it was played since the last start of the sequence, and the
// command id of its Select Track menu item (0 when it has none).
struct TrackMark {
    bool played = false;
    int menuCommand = 0;
};

// Notification-icon click sequence.
enum ClickState { ClickIdle = 0, ClickOnePending = 1, ClickDoublePending = 2 };

struct ShellState {
    // The drive named on the command line ("E:"), or empty: then every CD-ROM drive is tried.
    char commandLineDrive[3] = {0, 0, 0};

    PlayState playState = Stopped;
    int currentTrack = 0; // 1-based; 0 when none was chosen
    int posMinute = 0;    // play position within currentTrack
    int posSecond = 0;
    int posFrame = 0;
    int programPos = 0;   // 1-based index into the programmed order
    bool introPlay = false;
    bool repeatCurrent = false;
    bool panelVisible = false;
    bool dragging = false;
    bool propertiesOpen = false;
    bool selectDialogOpen = false;
    int clickState = ClickIdle;
    bool volumeRepeated = false;
    int scanCount = 0;    // ticks of a running scan; 0 when none runs
    int holdCountdown = 0;
    int notReadyTicks = 0; // status ticks in a row that found the drive not ready
    // One entry per track, index 0 for track 1.
    std::vector<TrackMark> trackMarks;
    // The last formatted time text.
    std::string timeText;
    // The main window is being destroyed: nothing is played or shown any more.
    bool ending = false;
};

ShellState& Shell();

// Back to the state of a fresh start (tests, and the start sequence).
void ResetShell();
