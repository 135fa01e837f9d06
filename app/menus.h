// What the pop-up menus show: enabled items, check marks and the Select Track texts,
// as plain rules over the shell state. The window code applies them to the menus.
#pragma once

#include <string>

#include "cdaudio/cddevice.h"

// The notification-area menu's play items for a play state.
struct TrayMenuEnables {
    bool play, pause, stop, eject, nextTrack, previousTrack;
};
TrayMenuEnables TrayMenuEnablesFor(PlayState state);

// The check marks of both menus, from the options and the shell state. The panel's
// menu follows them only while the panel is shown.
struct MenuChecks {
    bool randomOrder, introPlay, repeatAll, repeatCurrent, showControls;
};
MenuChecks CurrentMenuChecks();
// Whether the panel menu's checks and track items are kept up to date now.
bool PanelMenuFollows();

// Tracks with a Select Track item: 1 to min(track count, 20).
int MenuTrackItemCount();
// A disc of more than 20 tracks gets "Complete Track List...".
bool HasCompleteTrackList();

// The Select Track item's text: "(n) m:ss - title", "(n) m:ss", or "(n) No Audio" for a
// data track. A menu shows '&' as a mnemonic mark, so the title's are doubled. The
// caller holds DiscInfoLock.
std::string TrackItemText(int track);
// The Select Track dialog's line: every track with its length, data tracks too. The
// caller holds DiscInfoLock.
std::string TrackListLine(int track);

// A track item's marks: checked once played, grey while current. A data track's item
// stays grey and unchecked.
struct TrackItemMarks {
    bool checked, grey;
};
TrackItemMarks TrackItemMarksFor(int track);

// The dialog's line selected at its start: the current track's, else the first.
int TrackListInitialLine();
// The track a dialog result names: the selected line's index + 1, 0 with no selection.
int TrackFromListLine(int lineIndex);
// "Complete Track List..." opens the dialog only on a long disc and only once at a time.
bool CompleteTrackListAvailable();
