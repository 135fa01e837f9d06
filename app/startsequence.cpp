#include "app/startsequence.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/commands.h"
#include "log/logmessage.h"
#include "app/shellstate.h"
#include "platform/virtualcd/virtualcd.h"

std::vector<std::string> BuildDriveList(const char* commandLineDrive) {
    if (commandLineDrive && commandLineDrive[0]) return {commandLineDrive};
    std::vector<std::string> drives = VirtualCdEnabled() ? VirtualCdDriveNames() : MachineCdRomDrives();
    LogMessageInt("Number of CD-ROM's in system: ", static_cast<int>(drives.size()));
    return drives;
}

StartWaiting RealStartWaiting() {
    return StartWaiting{[] {
                            return static_cast<std::int64_t>(
                                std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now().time_since_epoch())
                                    .count());
                        },
                        [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

PlayState TryDrives(const std::vector<std::string>& drives, std::string& chosenDrive, const StartWaiting& waiting) {
    PlayState result = Failed;
    for (const std::string& drive : drives) {
        result = OpenCdDevice(drive.c_str());
        // A disc just put in: give the drive a few seconds to read it.
        const std::int64_t deadline = waiting.now() + NotReadyWaitMs;
        while (result == NotReady && waiting.now() < deadline) {
            waiting.sleep(NotReadyRetryMs);
            result = OpenCdDevice(drive.c_str());
        }
        if (result >= 1) {
            chosenDrive = drive;
            return result;
        }
    }
    return result;
}

const char* StartFailureMessage(std::size_t driveCount, PlayState lastResult) {
    if (driveCount == 0) return "Unable to find a CD player on the system.";
    if (driveCount > 1) return "Unable to play an audio CD on any CD players found.";
    switch (lastResult) {
    case DeviceBusy:
        return "CD player has already been opened by another application.\n"
               "Exit the other application before running Tunova.";
    case NoDisc:
        return "No disc found in CD player.";
    case NoAudioTracks:
        return "Disc in CD player does not contain any audio tracks.";
    default:
        return "Unknown initialization error.";
    }
}

PanelPlacement PlacePanel(int controlsX, int controlsY, int workRight, int workBottom) {
    PanelPlacement placement{controlsX, controlsY};
    if (placement.x > workRight) placement.x = workRight - 100;
    if (placement.y > workBottom) placement.y = workBottom - 75;
    return placement;
}

void PrepareTrackMarks() {
    ShellState& shell = Shell();
    shell.trackMarks.assign(static_cast<std::size_t>(std::max(CdDevice().trackCount, 0)), TrackMark());
    for (int track = 1; track <= static_cast<int>(shell.trackMarks.size()); ++track) {
        shell.trackMarks[track - 1].menuCommand = TrackMenuCommand(track);
    }
}
