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

    // How the shell sends the notification icon's events (TrayBehaviour): what it
    // accepted when the icon was added.
    int trayBehaviour = 0;
    // The last Space or Enter on the icon, to know Enter's second event for what it is.
    bool keySelectSeen = false;
    std::uint32_t lastKeySelect = 0;
    // The panel's screen, as the panel draws for it: its DPI, and whether the user
    // chose a high-contrast theme (then the panel is drawn in the system's colours).
    int panelDpi = 96;
    bool highContrast = false;
};

ShellState& Shell();

// Back to the state of a fresh start (tests, and the start sequence).
void ResetShell();
