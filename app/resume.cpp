#include "app/resume.h"

#include "app/sequencing.h"
#include "app/shellstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"

namespace {

// A point from an earlier run fits when its track still plays and, under a programmed
// order, the entry it was at still names that track (the order may have been edited).
bool PointFits(const ResumePoint& point) {
    if (!point.Set() || !IsAudioTrack(point.track)) return false;
    if (!HasProgram()) return true;
    const auto& program = DiscInfo().program;
    return point.programEntry >= 1 && point.programEntry <= static_cast<int>(program.size()) &&
           program[point.programEntry - 1] == point.track;
}

} // namespace

void NoteResumePoint() {
    const ShellState& shell = Shell();
    DiscInfo().resumePoint =
        ResumePointAtEnd(ProgramOptions().ResumeWhereStopped != 0,
                         shell.playState == Playing || shell.playState == Paused, shell.currentTrack,
                         shell.posMinute, shell.posSecond, HasProgram() ? shell.programPos : 0);
}

PlayState StartFirstPlay() {
    ShellState& shell = Shell();
    const ResumePoint point = DiscInfo().resumePoint;
    if (!ProgramOptions().ResumeWhereStopped || !PointFits(point)) {
        // Introduction play is off at start: this is play from the track's start.
        shell.currentTrack = ChooseTrack(ChooseFirst);
        return PlayTrack(shell.currentTrack);
    }
    // Random and programmed play go on in their order from the track they were at.
    ChooseTrack(ChooseFirst);
    shell.currentTrack = point.track;
    if (HasProgram()) shell.programPos = point.programEntry;
    // A point at or past the track's end (the disc's tail read differently) plays the
    // track from its start rather than nothing.
    const int seconds = point.seconds < TrackLengthSeconds(point.track) ? point.seconds : 0;
    shell.posMinute = seconds / 60;
    shell.posSecond = seconds % 60;
    shell.posFrame = 0;
    return StopIfRefused(PlayFrom(PlayRequest{point.track, shell.posMinute, shell.posSecond, 0, toTrackEnd()}),
                         point.track);
}
