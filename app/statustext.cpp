#include "app/statustext.h"

#include <cstdio>

#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/shellview.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/utf8text.h"

namespace {

// A drive's position can run past a track's reported length (through the next track's
// pregap, or a scan's last step): a time left is then none, never a negative one.
int NotBelowZero(int seconds) { return seconds > 0 ? seconds : 0; }

std::string MinutesSeconds(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

std::string TrackAndTime(int track, int seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "(%d) %d:%02d", track, seconds / 60, seconds % 60);
    return text;
}

std::string CurrentTrackTitle() {
    const int track = Shell().currentTrack;
    const auto& titles = DiscInfo().trackTitles;
    if (track < 1 || track > static_cast<int>(titles.size()) || !titles[track - 1]) return "";
    return *titles[track - 1];
}

} // namespace

const std::string& FormatTimeText(int track, int minute, int second) {
    std::string& text = Shell().timeText;
    const CdDeviceRecord& device = CdDevice();
    if (track < 1 || track > device.trackCount || static_cast<int>(device.toc.size()) <= device.trackCount) {
        return text;
    }
    const TrackToc& entry = device.toc[track - 1];
    const TrackToc& leadOut = device.toc[device.trackCount];
    switch (ProgramOptions().TimeDisplayMode) {
    case 0:
        text = TrackAndTime(track, minute * 60 + second);
        break;
    case 1:
        // Counted down to the end of what the drive plays of the track.
        text = TrackAndTime(track, NotBelowZero(TrackLengthSeconds(track) - minute * 60 - second));
        break;
    case 2:
        text = MinutesSeconds((entry.startMinute + minute) * 60 + entry.startSecond + second);
        break;
    case 3:
        text = MinutesSeconds(NotBelowZero((leadOut.startMinute - entry.startMinute - minute) * 60 -
                                           entry.startSecond + leadOut.startSecond - second));
        break;
    default:
        break;
    }
    return text;
}

std::string CutTrayTip(const std::string& text) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        // A byte that starts no character shows as one replacement letter; four bytes
        // are a letter beyond U+FFFF, a surrogate pair in UTF-16.
        const std::size_t length = Utf8SequenceLength(text, at);
        const std::size_t bytes = length ? length : 1;
        units += bytes == 4 ? 2 : 1;
        if (units > TrayTipLimit) return text.substr(0, at);
        at += bytes;
    }
    return text;
}

StatusTexts StatusTextsFor(PlayState state, const std::string& timeText, const std::string& title) {
    if (state != Playing && state != Paused) return {"Stopped", "Stopped"};
    const std::string line = std::string(state == Playing ? "Playing " : "Paused ") + timeText;
    return {title.empty() ? line : line + " - " + title, line};
}

void ShowStatus(PlayState state) {
    ShellState& shell = Shell();
    StatusTexts texts;
    if (state == Playing || state == Paused) {
        DiscInfoHold hold;
        FormatTimeText(shell.currentTrack, shell.posMinute, shell.posSecond);
        texts = StatusTextsFor(state, shell.timeText, CurrentTrackTitle());
    } else {
        texts = StatusTextsFor(Stopped, "", "");
    }
    View().SetTrayTip(CutTrayTip(texts.tip));
    if (shell.panelVisible && !shell.dragging) View().SetStatusLine(texts.line);
}
