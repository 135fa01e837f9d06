#include "app/menus.h"

#include <algorithm>
#include <cstdio>

#include "app/commands.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"

namespace {

// The disc record's title of a track; empty when it has none.
std::string TrackTitle(int track) {
    const auto& titles = DiscInfo().trackTitles;
    if (track < 1 || track > static_cast<int>(titles.size()) || !titles[track - 1]) return "";
    return *titles[track - 1];
}

std::string NumberAndLength(int track) {
    const CdDeviceRecord& device = CdDevice();
    int minutes = 0, seconds = 0;
    if (track >= 1 && track <= static_cast<int>(device.toc.size())) {
        minutes = device.toc[track - 1].lengthMinutes;
        seconds = device.toc[track - 1].lengthSeconds;
    }
    char text[48];
    std::snprintf(text, sizeof text, "(%d) %d:%02d", track, minutes, seconds);
    return text;
}

std::string WithTitle(const std::string& head, const std::string& title) {
    return title.empty() ? head : head + " - " + title;
}

std::string DoubleAmpersands(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

} // namespace

TrayMenuEnables TrayMenuEnablesFor(PlayState state) {
    switch (state) {
    case Playing:
        return {false, true, true, true, true, true};
    case Paused:
        return {true, true, true, true, false, false};
    case Stopped:
        return {true, false, false, true, false, false};
    default:
        return {false, false, false, false, false, false};
    }
}

MenuChecks CurrentMenuChecks() {
    const ShellState& shell = Shell();
    const ProgramOptionsRecord& options = ProgramOptions();
    return {options.Shuffle != 0, shell.introPlay, options.RepeatAll != 0, shell.repeatCurrent, shell.panelVisible};
}

bool PanelMenuFollows() { return Shell().panelVisible; }

int MenuTrackItemCount() { return std::clamp<int>(CdDevice().trackCount, 0, MenuTrackLimit); }

bool HasCompleteTrackList() { return CdDevice().trackCount > MenuTrackLimit; }

std::string TrackItemText(int track) {
    if (!IsAudioTrack(track)) {
        char text[32];
        std::snprintf(text, sizeof text, "(%d) No Audio", track);
        return text;
    }
    return DoubleAmpersands(WithTitle(NumberAndLength(track), TrackTitle(track)));
}

std::string TrackListLine(int track) { return WithTitle(NumberAndLength(track), TrackTitle(track)); }

TrackItemMarks TrackItemMarksFor(int track) {
    if (!IsAudioTrack(track)) return {false, true};
    const ShellState& shell = Shell();
    const bool played = track <= static_cast<int>(shell.trackMarks.size()) && shell.trackMarks[track - 1].played;
    return {played, track == shell.currentTrack};
}

int TrackListInitialLine() {
    const int current = Shell().currentTrack;
    return current >= 1 && current <= CdDevice().trackCount ? current - 1 : 0;
}

int TrackFromListLine(int lineIndex) { return lineIndex >= 0 ? lineIndex + 1 : 0; }

bool CompleteTrackListAvailable() { return HasCompleteTrackList() && !Shell().selectDialogOpen; }
