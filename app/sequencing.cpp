#include "app/sequencing.h"

#include <algorithm>
#include <cmath>

#include "app/random.h"
#include "app/shellstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "log/logmessage.h"

namespace {

const std::vector<std::int32_t>& Program() { return DiscInfo().program; }

bool ValidTrack(int track) { return track >= 1 && track <= CdDevice().trackCount; }

// A program entry is usable only when it names an audio track of this disc. The loaders
// drop numbers past the last track, but an order stored before, or by another program,
// may name a data track, which the drive refuses to play: it is passed over like them.
// The track of program entry pos (1-based), or 0 when there is none or it is unusable.
int ProgramEntry(int pos) {
    const auto& program = Program();
    if (pos < 1 || pos > static_cast<int>(program.size())) return 0;
    const int track = program[pos - 1];
    return IsAudioTrack(track) ? track : 0;
}

// The position of the first usable entry at or after pos; 0 when there is none.
int UsableEntryFrom(int pos) {
    for (pos = std::max(pos, 1); pos <= static_cast<int>(Program().size()); ++pos) {
        if (ProgramEntry(pos)) return pos;
    }
    return 0;
}

// The position of the last usable entry at or before pos; 0 when there is none.
int UsableEntryBefore(int pos) {
    for (pos = std::min(pos, static_cast<int>(Program().size())); pos >= 1; --pos) {
        if (ProgramEntry(pos)) return pos;
    }
    return 0;
}

// Moves programPos to the entry at pos and returns its track (0 and position 0 for none).
int MoveToEntry(int pos) {
    Shell().programPos = pos;
    return ProgramEntry(pos);
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
            if (IsAudioTrack(track) && !Played(track)) candidates.push_back(track);
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
        if (HasProgram()) return MoveToEntry(UsableEntryFrom(1));
        return LowestAudioAbove(0);
    }

    MarkCurrentTrackPlayed();

    if (mode == ChoosePrevious) {
        if (HasProgram()) return MoveToEntry(UsableEntryBefore(shell.programPos - 1));
        return HighestAudioBelow(shell.currentTrack);
    }

    if (options.Shuffle && mode == ChooseAutoNext) return RandomPick();
    // Only a later entry that can play counts: repeat current does not repeat the last
    // playable entry because unusable ones follow it.
    const int nextEntry = HasProgram() ? UsableEntryFrom(shell.programPos + 1) : 0;
    if (HasProgram() ? nextEntry == 0 : LowestAudioAbove(shell.currentTrack) == 0) return 0;

    if (shell.repeatCurrent && mode == ChooseAutoNext) return shell.currentTrack;

    if (HasProgram()) return MoveToEntry(nextEntry);
    return LowestAudioAbove(shell.currentTrack);
}

PlayState StopIfRefused(PlayState played, int track) {
    if (played != Failed) return played;
    // The device layer has logged the drive's error (a data or unknown track it refuses
    // without asking the drive); the drive may still play what it played before.
    LogMessageInt("Unable to play track: ", track);
    return StopPlay();
}

PlayState ResumeCurrentTrack() {
    const int track = Shell().currentTrack;
    return StopIfRefused(ResumePlay(track, toTrackEnd()), track);
}

PlayState PlayTrack(int track) {
    ShellState& shell = Shell();
    if (track == 0) {
        LogMessage("No audio track in the programmed order.");
        return StopPlay();
    }
    if (!shell.introPlay) {
        shell.posMinute = shell.posSecond = shell.posFrame = 0;
        return StopIfRefused(PlayFrom(PlayRequest{track, 0, 0, 0, toTrackEnd()}), track);
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
    return StopIfRefused(PlayFrom(PlayRequest{track, shell.posMinute, shell.posSecond, 0, toTrackEnd()}), track);
}
