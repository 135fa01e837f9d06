// Finding the drive to play and what the user is told when there is none.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"

// The drives to try, in order: the command-line drive alone, else the virtual drives
// when TUNOVA_VIRTUAL_CD names some, else the machine's CD-ROM drives. Logs the count
// unless the command line named the drive.
std::vector<std::string> BuildDriveList(const char* commandLineDrive);

// The CD-ROM drives of the machine ("D:", ...), in the platform's (alphabetical) order.
std::vector<std::string> MachineCdRomDrives();

// A drive whose disc has just gone in answers "not ready" while it settles: its open
// is tried again every NotReadyRetryMs for up to NotReadyWaitMs before the next drive.
constexpr int NotReadyWaitMs = 5000;
constexpr int NotReadyRetryMs = 250;

// The start sequence's waiting, replaceable by tests: a monotonic millisecond clock and
// a sleep.
struct StartWaiting {
    std::function<std::int64_t()> now;
    std::function<void(int)> sleep;
};
StartWaiting RealStartWaiting();

// Opens the drives in order until one holds a playable disc. Returns the result of
// the last open and, on success, the drive in chosenDrive.
PlayState TryDrives(const std::vector<std::string>& drives, std::string& chosenDrive,
                    const StartWaiting& waiting = RealStartWaiting());

// The message box text after no drive could be played.
const char* StartFailureMessage(std::size_t driveCount, PlayState lastResult);

// Keeps a stored panel position on the desktop's work area: a position beyond the
// right or bottom edge moves back inside; one left of or above it is kept.
struct PanelPlacement {
    int x;
    int y;
};
PanelPlacement PlacePanel(int controlsX, int controlsY, int workRight, int workBottom);

// The shell's state for the opened disc: one track mark per track, with the Select
// Track item commands of the first twenty.
void PrepareTrackMarks();
