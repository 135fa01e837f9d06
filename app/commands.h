// The player's commands, from the menus, the panel's buttons and the notification
// icon. Each changes the play state through the device and the track chooser, then
// brings every view up to date.
#pragma once

// Command ids shared by a panel button and a menu item run the same code.
enum PlayerCommand {
    CommandPlayButton = 1047,
    CommandPauseButton = 1048,
    CommandStopButton = 1049,
    CommandNextButton = 1050,
    CommandPreviousButton = 1053,
    CommandEjectButton = 1054,
    CommandPlay = 40014,
    CommandPause = 40015,
    CommandNextTrack = 40016,
    CommandPreviousTrack = 40017,
    CommandAbout = 40018,
    CommandExit = 40019,
    CommandRandomOrder = 40020,
    CommandStop = 40021,
    CommandEject = 40038,
    CommandProperties = 40040,
    CommandIntroPlay = 40041,
    CommandRepeatAll = 40043,
    CommandRepeatCurrent = 40044,
    CommandShowControls = 40046,
    CommandHideControls = 40048,
    CommandFirstTrackItem = 32869, // Select Track items: 32868 + track, tracks 1 to 20
    CommandLastTrackItem = 32888,
    CommandCompleteTrackList = 32889,
};

// The most tracks that have a Select Track menu item.
constexpr int MenuTrackLimit = 20;
// The Select Track item's command for track n (1 to 20), else 0.
int TrackMenuCommand(int track);

// Runs a command the shell's logic can carry out by itself; false for commands it does
// not know (the windows handle those: panel, dialogs, volume).
bool RunPlayerCommand(int command);

// Plays a track chosen by the user from the Select Track menu or dialog.
void PlayChosenTrack(int track);

// The user's Next Track, also the double click on the icon.
void UserNextTrack();

// Every view brought up to date with the play state: icon, menus, panel, status.
void RefreshControls();

// Mouse messages of the notification icon.
constexpr unsigned TrayLeftButtonDown = 0x0201;   // WM_LBUTTONDOWN
constexpr unsigned TrayLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
constexpr unsigned TrayRightButtonDown = 0x0204;  // WM_RBUTTONDOWN
// Left-button clicks and double clicks on the icon; false for other messages.
bool HandleTrayClick(unsigned mouseMessage);
// The 500 ms tray click timer fired.
void TrayClickTimeout();
