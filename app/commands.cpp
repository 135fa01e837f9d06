#include "app/commands.h"

#include <algorithm>

#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/shellview.h"
#include "cdaudio/cddevice.h"
#include "discinfo/options.h"

namespace {

void ResumeOrStart() {
    ShellState& shell = Shell();
    if (shell.playState == Paused) {
        shell.playState = ResumeCurrentTrack();
    } else if (shell.playState == Stopped) {
        shell.currentTrack = ChooseTrack(ChooseFirst);
        shell.playState = PlayTrack(shell.currentTrack);
    }
}

void PreviousTrack() {
    ShellState& shell = Shell();
    shell.currentTrack = ChooseTrack(ChoosePrevious);
    shell.playState = shell.currentTrack != 0 ? PlayTrack(shell.currentTrack) : StopPlay();
}

// A pause the drive refuses leaves play as it was: the drive goes on with what it did.
void PauseIfDriveAgrees() {
    if (PauseCd() == Paused) Shell().playState = Paused;
}

// With a new play-range rule, play goes on under it.
void ResumeUnderNewRule() {
    ShellState& shell = Shell();
    if (shell.playState == Playing) shell.playState = ResumeCurrentTrack();
}

// Next and Previous end a running scan where it stands; otherwise they step while playing.
void StepWhilePlaying(void (*step)()) {
    ShellState& shell = Shell();
    if (shell.scanCount != 0) {
        EndScan();
    } else if (shell.playState == Playing) {
        shell.holdCountdown = 0;
        step();
    }
    RefreshControls();
}

bool SelectTrackItem(int command) {
    ShellState& shell = Shell();
    const int items = std::min<int>(CdDevice().trackCount, MenuTrackLimit);
    for (int track = 1; track <= items && track <= static_cast<int>(shell.trackMarks.size()); ++track) {
        if (shell.trackMarks[track - 1].menuCommand == command) {
            PlayChosenTrack(track);
            return true;
        }
    }
    return false;
}

} // namespace

int TrackMenuCommand(int track) {
    return track >= 1 && track <= MenuTrackLimit ? CommandFirstTrackItem - 1 + track : 0;
}

void RefreshControls() {
    if (Shell().ending) return;
    View().UpdateTrayIcon();
    View().RefreshMenus(false);
    View().UpdatePanelButtons();
    StatusTick();
}

void PlayChosenTrack(int track) {
    ShellState& shell = Shell();
    // A data track cannot play: choosing one leaves the music and the order as they are.
    if (!IsAudioTrack(track)) return;
    MarkCurrentTrackPlayed();
    shell.programPos = 0;
    shell.currentTrack = track;
    shell.playState = PlayTrack(track);
    RefreshControls();
}

void UserNextTrack() {
    ShellState& shell = Shell();
    shell.currentTrack = ChooseTrack(ChooseNext);
    if (shell.currentTrack != 0) {
        shell.playState = PlayTrack(shell.currentTrack);
    } else if (ProgramOptions().RepeatAll) {
        shell.currentTrack = ChooseTrack(ChooseFirst);
        shell.playState = PlayTrack(shell.currentTrack);
    } else if (ProgramOptions().EjectAtEnd) {
        EjectCd();
        EndProgram();
    } else {
        shell.playState = StopPlay();
    }
}

bool RunPlayerCommand(int command) {
    ShellState& shell = Shell();
    ProgramOptionsRecord& options = ProgramOptions();
    switch (command) {
    case CommandPlayButton:
    case CommandPlay:
        ResumeOrStart();
        RefreshControls();
        return true;
    case CommandPauseButton:
    case CommandPause:
        if (shell.playState == Playing) {
            PauseIfDriveAgrees();
        } else if (shell.playState == Paused) {
            shell.playState = ResumeCurrentTrack();
        }
        RefreshControls();
        return true;
    case CommandStopButton:
    case CommandStop:
        shell.playState = StopPlay();
        RefreshControls();
        return true;
    case CommandNextButton:
    case CommandNextTrack:
        StepWhilePlaying(UserNextTrack);
        return true;
    case CommandPreviousButton:
    case CommandPreviousTrack:
        StepWhilePlaying(PreviousTrack);
        return true;
    case CommandEjectButton:
    case CommandEject:
        EjectCd();
        EndProgram();
        return true;
    case CommandExit:
        if (options.EjectAtExit) EjectCd();
        EndProgram();
        return true;
    case CommandRandomOrder:
        options.Shuffle = !options.Shuffle;
        ResumeUnderNewRule();
        View().RefreshMenus(false);
        return true;
    case CommandIntroPlay:
        shell.introPlay = !shell.introPlay;
        ResumeUnderNewRule();
        View().RefreshMenus(false);
        return true;
    case CommandRepeatAll:
        options.RepeatAll = !options.RepeatAll;
        View().RefreshMenus(false);
        return true;
    case CommandRepeatCurrent:
        shell.repeatCurrent = !shell.repeatCurrent;
        ResumeUnderNewRule();
        View().RefreshMenus(false);
        return true;
    default:
        if (command >= CommandFirstTrackItem && command <= CommandLastTrackItem) return SelectTrackItem(command);
        return false;
    }
}

bool HandleTrayClick(unsigned mouseMessage) {
    ShellState& shell = Shell();
    if (mouseMessage == TrayLeftDoubleClick) {
        if (shell.clickState == ClickOnePending) {
            shell.clickState = ClickDoublePending;
            View().StartTrayClickTimer();
        } else {
            shell.clickState = ClickIdle;
            View().StopTrayClickTimer();
        }
        return true;
    }
    if (mouseMessage != TrayLeftButtonDown) return false;

    switch (shell.playState) {
    case Playing:
        if (shell.clickState == ClickIdle) {
            shell.clickState = ClickOnePending;
            View().StartTrayClickTimer();
        } else if (shell.clickState == ClickDoublePending) {
            // A third click: back a track at once.
            View().StopTrayClickTimer();
            shell.clickState = ClickIdle;
            PreviousTrack();
            RefreshControls();
        } else {
            // A second click too slow for a double click cancels the sequence.
            shell.clickState = ClickIdle;
            View().StopTrayClickTimer();
        }
        break;
    case Paused:
        shell.playState = ResumeCurrentTrack();
        RefreshControls();
        break;
    case Stopped:
        shell.currentTrack = ChooseTrack(ChooseFirst);
        shell.playState = PlayTrack(shell.currentTrack);
        RefreshControls();
        break;
    default:
        break;
    }
    return true;
}

void TrayClickTimeout() {
    ShellState& shell = Shell();
    View().StopTrayClickTimer();
    // The clicks act on the play they were given to; play that has stopped or paused
    // meanwhile (Stop within the click time) is left as it is.
    if (shell.playState != Playing) {
    } else if (shell.clickState == ClickOnePending) {
        PauseIfDriveAgrees();
    } else if (shell.clickState == ClickDoublePending) {
        UserNextTrack();
    }
    shell.clickState = ClickIdle;
    RefreshControls();
}
