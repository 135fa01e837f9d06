#include "app/statustext.h"

#include <cstdio>

#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/shellview.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"

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

bool IsContinuation(const std::string& text, std::size_t at, unsigned char low = 0x80, unsigned char high = 0xBF) {
    if (at >= text.size()) return false;
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    return byte >= low && byte <= high;
}

// The bytes of the UTF-8 character that starts at text[at]. A byte that starts no valid
// character counts as one of its own, as the conversion to UTF-16 makes it one
// replacement character.
std::size_t CharacterBytes(const std::string& text, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return IsContinuation(text, at + 1) ? 2 : 1;
    if (lead >= 0xE0 && lead <= 0xEF) {
        // No overlong forms (E0 80..9F) and no surrogates (ED A0..BF).
        const bool second = lead == 0xE0   ? IsContinuation(text, at + 1, 0xA0)
                            : lead == 0xED ? IsContinuation(text, at + 1, 0x80, 0x9F)
                                           : IsContinuation(text, at + 1);
        return second && IsContinuation(text, at + 2) ? 3 : 1;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        // Nothing overlong (F0 80..8F) and nothing beyond U+10FFFF (F4 90..).
        const bool second = lead == 0xF0   ? IsContinuation(text, at + 1, 0x90)
                            : lead == 0xF4 ? IsContinuation(text, at + 1, 0x80, 0x8F)
                                           : IsContinuation(text, at + 1);
        return second && IsContinuation(text, at + 2) && IsContinuation(text, at + 3) ? 4 : 1;
    }
    return 1;
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
        const std::size_t bytes = CharacterBytes(text, at);
        // Four bytes are a letter beyond U+FFFF: a surrogate pair in UTF-16.
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
