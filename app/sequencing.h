// Which track plays next and from where, and keeping the shell's idea of the play
// position in step with the drive.
#pragma once

#include "cdaudio/cddevice.h"
#include "resources/controlids.h"

enum ChooseMode {
    ChooseFirst = 1,    // start of play, restart of the disc
    ChooseAutoNext = 2, // the end of a track during play
    ChooseNext = 3,     // the user's Next Track
    ChoosePrevious = 4, // the user's Previous Track
};

// Track number (1-based) or 0 when there is no such track. May change programPos and
// the played flags.
int ChooseTrack(ChooseMode mode);
// The k-th of the candidates (unplayed program entries or unplayed audio tracks), the
// first and last half as likely as the others. 0 when there is no candidate.
int RandomPick();
// Starts play of a track, honouring introduction play; sets the position variables.
// Track 0 (ChooseTrack found nothing: an order of data tracks alone) and a play the
// drive refuses stop the drive: the result is Stopped, and the log says why.
PlayState PlayTrack(int track);
// Play of the current track on from where the drive stands (a pause, a new play
// range), stopped as PlayTrack stops when the drive refuses it.
PlayState ResumeCurrentTrack();
// The shell's state after asking the drive to play track: played as it is; a refusal
// (Failed) is logged with the track and ends in a stopped drive, so that no view shows
// a play that is not there.
PlayState StopIfRefused(PlayState played, int track);
// Play stops at the end of each track (and the status tick chooses the next) when
// random order, a programmed order, introduction play or repeat current is on.
bool toTrackEnd();

// The one-second status tick.
void StatusTick();
// Status ticks in a row that may find the drive not ready before the program ends.
constexpr int NotReadyTickLimit = 10;
// The scan tick: fast forward and rewind while the panel's Next or Previous is held.
void ScanTick();
// Ends a running scan: play resumes at the scanned position.
void EndScan();

// Facts about the disc in the drive that the shell asks for often.
bool IsAudioTrack(int track);
int TrackLengthSeconds(int track);
bool HasProgram();
// Marks the current track played; nothing while no track is current.
void MarkCurrentTrackPlayed();

// The panel's scan buttons.
constexpr int ScanPreviousButton = IDC_PREVIOUS;
constexpr int ScanNextButton = IDC_NEXT;
constexpr int ScanTimerIdleMs = 250;
constexpr int ScanTimerActiveMs = 100;
