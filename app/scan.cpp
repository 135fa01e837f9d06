#include <cstdio>

#include "app/commands.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/shellview.h"
#include "app/statustext.h"
#include "cdaudio/cddevice.h"
#include "discinfo/options.h"

namespace {

// How many ticks a held button waits, after its first tick, before the scan begins.
constexpr int HoldTicks = 5;

int ScanStepSeconds(int scanCount) {
    if (scanCount <= 30) return 2;
    if (scanCount <= 60) return 5;
    return 10;
}

// A scan that runs off either end of the disc stops the drive; every view then says so.
void StopScanAtEnd() {
    ShellState& shell = Shell();
    shell.playState = StopPlay();
    View().SetScanTimerPeriod(ScanTimerIdleMs);
    shell.scanCount = 0;
    RefreshControls();
}

// The scan's limit in a track: what the drive can play of it, in whole seconds.
void TrackEndPosition(int track, int* minute, int* second) {
    const int seconds = TrackLengthSeconds(track);
    *minute = seconds / 60;
    *second = seconds % 60;
}

void ScanBackward(int step) {
    ShellState& shell = Shell();
    shell.posSecond -= step;
    if (shell.posSecond < 0 && shell.posMinute <= 0) {
        shell.currentTrack = ChooseTrack(ChoosePrevious);
        if (shell.currentTrack != 0) {
            // Go on backwards from the end of the previous track.
            TrackEndPosition(shell.currentTrack, &shell.posMinute, &shell.posSecond);
            shell.posFrame = 0;
        } else {
            StopScanAtEnd();
        }
    } else if (shell.posSecond < 0) {
        shell.posMinute -= 1;
        shell.posSecond += 60;
    }
}

// Returns false when the program ends.
bool ScanForward(int step) {
    ShellState& shell = Shell();
    shell.posSecond += step;
    if (shell.posSecond >= 60) {
        shell.posSecond -= 60;
        shell.posMinute += 1;
    }
    // The whole position against the whole length: compared field by field, a step
    // over a minute's end could land past the track's end.
    int endMinute = 0, endSecond = 0;
    TrackEndPosition(shell.currentTrack, &endMinute, &endSecond);
    if (shell.posMinute * 60 + shell.posSecond >= endMinute * 60 + endSecond) {
        shell.currentTrack = ChooseTrack(ChooseNext);
        if (shell.currentTrack != 0) {
            shell.posMinute = shell.posSecond = shell.posFrame = 0;
        } else if (ProgramOptions().RepeatAll) {
            shell.currentTrack = ChooseTrack(ChooseFirst);
            shell.posMinute = shell.posSecond = shell.posFrame = 0;
        } else if (ProgramOptions().EjectAtEnd) {
            EjectCd();
            EndProgram();
            return false;
        } else {
            StopScanAtEnd();
        }
    }
    return true;
}

} // namespace

void ScanTick() {
    ShellState& shell = Shell();
    if (shell.ending || shell.playState != Playing) return;

    const bool previousHeld = View().IsButtonHeld(ScanPreviousButton);
    const bool nextHeld = View().IsButtonHeld(ScanNextButton);
    if (!previousHeld && !nextHeld) {
        if (shell.scanCount != 0) EndScan();
        return;
    }

    if (shell.holdCountdown != 0) {
        if (--shell.holdCountdown == 0) {
            PauseCd(); // the state stays Playing: a scan is a kind of play
            shell.scanCount = 1;
        }
    } else if (shell.scanCount == 0) {
        View().SetScanTimerPeriod(ScanTimerActiveMs);
        shell.holdCountdown = HoldTicks;
    }
    if (shell.scanCount == 0) return;

    shell.scanCount += 1;
    const int step = ScanStepSeconds(shell.scanCount);
    // A scan needs a current track; the one that ended it leaves none.
    if (shell.currentTrack < 1 || shell.currentTrack > CdDevice().trackCount) return;
    if (previousHeld) {
        ScanBackward(step);
    } else if (!ScanForward(step)) {
        return;
    }

    if (shell.playState == Playing) {
        FormatTimeText(shell.currentTrack, shell.posMinute, shell.posSecond);
        View().SetStatusLine("Playing " + shell.timeText);
    } else {
        View().SetStatusLine("Stopped");
    }
}

void EndScan() {
    ShellState& shell = Shell();
    View().SetScanTimerPeriod(ScanTimerIdleMs);
    shell.playState = StopIfRefused(
        PlayFrom(PlayRequest{shell.currentTrack, shell.posMinute, shell.posSecond, shell.posFrame, toTrackEnd()}),
        shell.currentTrack);
    shell.scanCount = 0;
}
