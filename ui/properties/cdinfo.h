// The CD Information page's rules, apart from its window.
#pragma once

#include <cstddef>
#include <string>

struct PropertiesCopy;

// The most characters a disc text keeps: the page's edits take no more, and texts read
// back from them are cut to it.
constexpr std::size_t DiscEditTextLimit = 256;
// The Name field takes two characters more, so that Enter (a line break) still moves
// on from a title of full length.
constexpr std::size_t NameEditTextLimit = DiscEditTextLimit + 2;

// Stores an edit's text into a disc text of the copy, cut to the limit (never inside a
// character).
void StoreDiscEditText(std::string& field, const std::string& text);

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
// Returns true when the text was longer than the limit and has been cut.
bool StoreTrackTitle(PropertiesCopy& copy, int index, const std::string& text);

// "Clear All" answered Yes: every track title of the copy emptied. The Artist and Title
// fields are emptied by the page and reach the copy when it is left.
void ClearTrackTitles(PropertiesCopy& copy);
