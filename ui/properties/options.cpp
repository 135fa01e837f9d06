#include "ui/properties/options.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "discinfo/discinfo.h"

namespace {

int Limit(int value, int low, int high) { return std::max(low, std::min(value, high)); }

} // namespace

OptionsPageValues OptionsPageFromCopy(const PropertiesCopy& copy) {
    OptionsPageValues page;
    page.ejectAtEnd = copy.EjectAtEnd != 0;
    page.ejectAtExit = copy.EjectAtExit != 0;
    page.stopAtExit = copy.StopAtExit != 0;
    page.shuffle = copy.Shuffle != 0;
    page.repeatAll = copy.RepeatAll != 0;
    page.visibleAtStart = copy.ControlsVisibleAtStart != 0;
    page.onTop = copy.ControlsOnTop != 0;
    page.resumeWhereStopped = copy.ResumeWhereStopped != 0;
    page.digitalPlayback = copy.DigitalPlayback != 0;
    page.atMiddle = copy.IntroPlayStart < 0;
    page.introStartText =
        std::to_string(page.atMiddle ? 0 : Limit(copy.IntroPlayStart, IntroStartLow, IntroStartHigh));
    page.introLengthText = std::to_string(Limit(copy.IntroPlayLength, IntroLengthLow, IntroLengthHigh));
    if (copy.TimeDisplayMode >= 0 && copy.TimeDisplayMode < 4) page.timeRadio = TimeDisplayRadios[copy.TimeDisplayMode];
    return page;
}

void StoreOptionsPage(const OptionsPageValues& page, PropertiesCopy& copy) {
    copy.EjectAtEnd = page.ejectAtEnd;
    copy.EjectAtExit = page.ejectAtExit;
    copy.StopAtExit = page.stopAtExit;
    copy.Shuffle = page.shuffle;
    copy.IntroPlayStart =
        page.atMiddle ? -1 : ReadSpinValue(page.introStartText, IntroStartLow, IntroStartHigh, copy.IntroPlayStart);
    for (int mode = 0; mode < 4; ++mode) {
        if (page.timeRadio == TimeDisplayRadios[mode]) {
            copy.TimeDisplayMode = mode;
            break;
        }
    }
    copy.IntroPlayLength =
        ReadSpinValue(page.introLengthText, IntroLengthLow, IntroLengthHigh, copy.IntroPlayLength);
    copy.RepeatAll = page.repeatAll;
    copy.ControlsVisibleAtStart = page.visibleAtStart;
    copy.ControlsOnTop = page.onTop;
    copy.ResumeWhereStopped = page.resumeWhereStopped;
    copy.DigitalPlayback = page.digitalPlayback;
}

int ReadSpinValue(const std::string& text, int low, int high, int previous) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (at == text.size()) return Limit(0, low, high);
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
    const std::size_t digitsFrom = at;
    long long value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        // Anything this long is past every range's end; stop before it overflows.
        if (value < 1000000) value = value * 10 + (text[at] - '0');
        ++at;
    }
    // A mistyped field says nothing about the value the user wants: keep the one set.
    if (at == digitsFrom || at != text.size()) return Limit(previous, low, high);
    if (negative) value = -value;
    return Limit(static_cast<int>(value), low, high);
}

int StartAfterMiddleCleared(PropertiesCopy& copy) {
    if (copy.IntroPlayStart < 0) copy.IntroPlayStart = 0;
    return copy.IntroPlayStart;
}
