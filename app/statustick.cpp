#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/shellview.h"
#include "app/statustext.h"
#include "discinfo/options.h"

namespace {

void ShowStoppedViews() {
    View().UpdateTrayIcon();
    View().RefreshMenus(false);
    View().UpdatePanelButtons();
    ShowStatus(Stopped);
}

// Whether introduction play has played its few seconds of the current track.
bool IntroductionOver(int minute, int second) {
    const ProgramOptionsRecord& options = ProgramOptions();
    const int at = minute * 60 + second;
    const int length = TrackLengthSeconds(Shell().currentTrack);
    // A set start plays its introduction from there; only the centred setting ends
    // at the middle plus half the length (a track shorter than that plays to its end).
    if (options.IntroPlayStart >= 0) return at > options.IntroPlayStart + options.IntroPlayLength;
    return at > length / 2 + options.IntroPlayLength / 2;
}

} // namespace

void StatusTick() {
    ShellState& shell = Shell();
    if (shell.ending) return;
    const PlayState mode = GetDeviceMode();
    // A drive can be not ready for a moment (a disc settling); only one that stays so
    // ends the program, as no disc, the door open or an error do at once.
    if (mode == NotReady && ++shell.notReadyTicks < NotReadyTickLimit) return;
    if (mode <= 0) {
        EndProgram();
        return;
    }
    shell.notReadyTicks = 0;
    // The drive does something the shell did not ask for: stop it.
    if (mode != shell.playState && shell.playState != Playing && mode != Stopped) {
        shell.playState = StopPlay();
        ShowStoppedViews();
        return;
    }
    // While the drive seeks its position still says where it was: nothing to follow.
    if (mode == Seeking) return;
    if (shell.playState == Paused || shell.playState == Stopped) {
        ShowStatus(shell.playState);
        return;
    }
    if (shell.playState != Playing || shell.scanCount != 0) return;

    std::int32_t track = 0, minute = 0, second = 0, frame = 0;
    if (!GetPlayPosition(&track, &minute, &second, &frame)) {
        EndProgram();
        return;
    }

    const bool advance = mode == Stopped || (shell.introPlay && IntroductionOver(minute, second));
    if (advance) {
        shell.currentTrack = ChooseTrack(ChooseAutoNext);
        if (shell.currentTrack == 0 && !ProgramOptions().RepeatAll) {
            if (ProgramOptions().EjectAtEnd) {
                EjectCd();
                EndProgram();
                return;
            }
            shell.playState = StopPlay();
            ShowStoppedViews();
            return;
        }
        if (shell.currentTrack == 0) shell.currentTrack = ChooseTrack(ChooseFirst);
        shell.playState = PlayTrack(shell.currentTrack);
        if (shell.playState != Playing) {
            // The drive refused the next track and has been stopped: say so everywhere.
            ShowStoppedViews();
            return;
        }
        View().RefreshMenus(false);
    } else {
        // Playing to the end of the disc, the drive moves on by itself (never into a
        // data track: a position there is one the drive stopped on, not one it plays).
        if (!toTrackEnd() && track != shell.currentTrack && IsAudioTrack(track)) {
            MarkCurrentTrackPlayed();
            shell.currentTrack = track;
            View().RefreshMenus(false);
        }
        shell.posMinute = minute;
        shell.posSecond = second;
        shell.posFrame = frame;
    }
    ShowStatus(Playing);
}
