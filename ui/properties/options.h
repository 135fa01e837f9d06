// The Options page's controls as plain values, and the rules that move them to and
// from the copy's play options.
#pragma once

#include <string>

#include "resources/controlids.h"

struct PropertiesCopy;

// Control ids of the Time Display radio buttons, in the order of their modes 0 to 3.
constexpr int TimeDisplayRadios[4] = {IDC_OPT_TRACK_ELAPSED, IDC_OPT_TRACK_REMAINING, IDC_OPT_DISC_ELAPSED,
                                       IDC_OPT_DISC_REMAINING};

constexpr int IntroStartLow = 0;
constexpr int IntroStartHigh = 1000;
constexpr int IntroLengthLow = 2;
constexpr int IntroLengthHigh = 1000;

struct OptionsPageValues {
    bool ejectAtEnd = false;
    bool ejectAtExit = false;
    bool stopAtExit = false;
    bool shuffle = false;
    bool repeatAll = false;
    bool visibleAtStart = false;
    bool onTop = false;
    bool resumeWhereStopped = false;
    bool digitalPlayback = false;
    bool atMiddle = false;           // "at middle of track"
    std::string introStartText;      // the start field's text
    std::string introLengthText;     // the length field's text
    int timeRadio = 0;               // the checked radio button's id, 0 for none
};

// What the page shows for the copy: the spin values limited to their ranges, the start
// field "0" for "at middle of track".
OptionsPageValues OptionsPageFromCopy(const PropertiesCopy& copy);
// Stores the page into the copy; no radio button checked keeps the time display mode,
// and a start or length that is no number keeps the copy's value.
void StoreOptionsPage(const OptionsPageValues& page, PropertiesCopy& copy);

// A spin field's text as a value within low to high: a whole number (leading blanks and
// a sign allowed, an empty text 0) outside the range becomes its nearest end; a text
// that is no whole number ("15s", a word) keeps previous, itself held within the range.
int ReadSpinValue(const std::string& text, int low, int high, int previous);

// "at middle of track" unchecked: a negative start in the copy becomes 0. Returns the
// start to show.
int StartAfterMiddleCleared(PropertiesCopy& copy);
