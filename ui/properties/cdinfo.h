// The CD Information page's rules, apart from its window.
#pragma once

#include <cstddef>
#include <string>

struct PropertiesCopy;

// Texts read back from the page's edits are cut to this many characters.
constexpr std::size_t DiscEditTextLimit = 255;

// Stores an edit's text into a disc text field of the copy, cut to the limit.
void StoreDiscEditText(char* field, const std::string& text);

// What a change of the Name field means.
struct NameChange {
    enum Kind { Ignore, Store, MoveOn } kind = Ignore;
    int track = 0;  // Store: the track (from 0) whose title the text is; MoveOn: the item to select
};

// The user pressed Enter (the text holds a line break): move on to the next item, or to
// the first from the last, storing nothing. Otherwise the text is the selected track's
// title. Nothing is selected (a disc without tracks): ignored.
NameChange DecideNameChange(const std::string& text, int selected, int itemCount);

// Stores a title typed into the Name field as the title of track index (from 0).
void StoreTrackTitle(PropertiesCopy& copy, int index, const std::string& text);

// "Clear All" answered Yes: every track title of the copy emptied. The Artist and Title
// fields are emptied by the page and reach the copy when it is left.
void ClearTrackTitles(PropertiesCopy& copy);
