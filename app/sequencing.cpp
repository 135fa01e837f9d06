#include "app/sequencing.h"

#include <algorithm>
#include <cmath>

#include "app/random.h"
#include "app/shellstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"

namespace {

const std::vector<std::int32_t>& Program() { return DiscInfo().program; }

// A program entry is usable only when it names a track of this disc; the loaders drop
// others, but a bad entry must never reach the drive or index past the track marks.
bool ValidTrack(int track) { return track >= 1 && track <= CdDevice().trackCount; }

// The track of program entry pos (1-based), or 0 when there is none or it is unusable.
int ProgramEntry(int pos) {
    const auto& program = Program();
    if (pos < 1 || pos > static_cast<int>(program.size())) return 0;
    const int track = program[pos - 1];
    return ValidTrack(track) ? track : 0;
}

// The first usable entry at or after pos, moving programPos there; 0 past the end.
int ProgramEntryFrom(int pos) {
    ShellState& shell = Shell();
    const int count = static_cast<int>(Program().size());
    for (; pos <= count; ++pos) {
        if (int track = ProgramEntry(pos)) {
            shell.programPos = pos;
            return track;
        }
    }
    shell.programPos = pos;
    return 0;
}

// The last usable entry at or before pos, moving programPos there; 0 before the start.
int ProgramEntryBefore(int pos) {
    ShellState& shell = Shell();
    for (; pos >= 1; --pos) {
        if (int track = ProgramEntry(pos)) {
            shell.programPos = pos;
            return track;
        }
    }
    shell.programPos = 0;
    return 0;
}

bool Played(int track) {
    const auto& marks = Shell().trackMarks;
    return track >= 1 && track <= static_cast<int>(marks.size()) && marks[track - 1].played;
}

std::vector<int> RandomCandidates() {
    std::vector<int> candidates;
    if (HasProgram()) {
        for (std::size_t i = 0; i < Program().size(); ++i) {
            const int track = Program()[i];
            if (ValidTrack(track) && !Played(track)) candidates.push_back(track);
        }
    } else {
        for (int track = 1; track <= CdDevice().trackCount; ++track) {
            if (IsAudioTrack(track) && !Played(track)) candidates.push_back(track);
        }
    }
    return candidates;
}

int LowestAudioAbove(int track) {
    for (int t = track + 1; t <= CdDevice().trackCount; ++t) {
        if (IsAudioTrack(t)) return t;
    }
    return 0;
}

int HighestAudioBelow(int track) {
    for (int t = std::min(track - 1, static_cast<int>(CdDevice().trackCount)); t >= 1; --t) {
        if (IsAudioTrack(t)) return t;
    }
    return 0;
}

} // namespace

bool IsAudioTrack(int track) {
    return ValidTrack(track) && static_cast<int>(CdDevice().toc.size()) > track - 1 &&
           CdDevice().toc[track - 1].type == TrackAudio;
}

int TrackLengthSeconds(int track) {
    if (!ValidTrack(track) || static_cast<int>(CdDevice().toc.size()) <= track - 1) return 0;
    // What the drive can play of it: an enhanced CD's last audio track ends before
    // the gap between its sessions.
    return PlayableLengthFrames(track) / FramesPerSecond;
}

bool HasProgram() { return !Program().empty(); }

bool toTrackEnd() {
    const ShellState& shell = Shell();
    return ProgramOptions().Shuffle || HasProgram() || shell.introPlay || shell.repeatCurrent;
}

void MarkCurrentTrackPlayed() {
    ShellState& shell = Shell();
    if (shell.currentTrack >= 1 && shell.currentTrack <= static_cast<int>(shell.trackMarks.size())) {
        shell.trackMarks[shell.currentTrack - 1].played = true;
    }
}

int RandomPick() {
    const std::vector<int> candidates = RandomCandidates();
    const int m = static_cast<int>(candidates.size());
    if (m == 0) return 0;
    const int r = NextRandom();
    // 0.000030518509 is 1/32767 in single precision; the rounding makes the first and
    // last candidates half as likely as the others.
    const float inverseRandomMax = 0.000030518509f;
    int k = static_cast<int>(std::trunc(r * static_cast<double>(inverseRandomMax) * (m - 1) + 0.5)) + 1;
    if (k < 1) k = 1;
    if (k > m) k = m;
    return candidates[k - 1];
}

int ChooseTrack(ChooseMode mode) {
    ShellState& shell = Shell();
    const ProgramOptionsRecord& options = ProgramOptions();

    if (mode == ChooseFirst) {
        for (TrackMark& mark : shell.trackMarks) mark.played = false;
        if (options.Shuffle) return RandomPick();
        if (HasProgram()) return ProgramEntryFrom(1);
        return LowestAudioAbove(0);
    }

    MarkCurrentTrackPlayed();

    if (mode == ChoosePrevious) {
        if (HasProgram()) return ProgramEntryBefore(shell.programPos - 1);
        return HighestAudioBelow(shell.currentTrack);
    }

    if (options.Shuffle && mode == ChooseAutoNext) return RandomPick();
    if (HasProgram()) {
        if (shell.programPos >= static_cast<int>(Program().size())) return 0;
    } else if (!LowestAudioAbove(shell.currentTrack)) {
        return 0;
    }

    if (shell.repeatCurrent && mode == ChooseAutoNext) return shell.currentTrack;

    if (HasProgram()) return ProgramEntryFrom(shell.programPos + 1);
    return LowestAudioAbove(shell.currentTrack);
}

PlayState PlayTrack(int track) {
    ShellState& shell = Shell();
    if (!shell.introPlay) {
        shell.posMinute = shell.posSecond = shell.posFrame = 0;
        return PlayFrom(PlayRequest{track, 0, 0, 0, toTrackEnd()});
    }
    const ProgramOptionsRecord& options = ProgramOptions();
    const int length = TrackLengthSeconds(track);
    const int start = options.IntroPlayStart;
    const int duration = options.IntroPlayLength;
    const int end = start >= 0 ? start + duration : length / 2 + duration / 2;
    int from;
    if (end > length) {
        from = std::max(length - duration, 0);
    } else if (start >= 0) {
        from = start;
    } else {
        from = std::max(length / 2 - duration / 2, 0);
    }
    shell.posMinute = from / 60;
    shell.posSecond = from % 60;
    shell.posFrame = 0;
    return PlayFrom(PlayRequest{track, shell.posMinute, shell.posSecond, 0, toTrackEnd()});
}
