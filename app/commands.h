// The player's commands, from the menus, the panel's buttons and the notification
// icon. Each changes the play state through the device and the track chooser, then
// brings every view up to date.
#pragma once

#include "resources/commandids.h"
#include "resources/controlids.h"

// Command ids shared by a panel button and a menu item run the same code.
enum PlayerCommand {
    CommandPlayButton = IDC_PLAY,
    CommandPauseButton = IDC_PAUSE,
    CommandStopButton = IDC_STOP,
    CommandNextButton = IDC_NEXT,
    CommandPreviousButton = IDC_PREVIOUS,
    CommandEjectButton = IDC_EJECT,
    CommandPlay = IDM_PLAY,
    CommandPause = IDM_PAUSE,
    CommandNextTrack = IDM_NEXT_TRACK,
    CommandPreviousTrack = IDM_PREVIOUS_TRACK,
    CommandAbout = IDM_ABOUT,
    CommandExit = IDM_EXIT,
    CommandRandomOrder = IDM_RANDOM_ORDER,
    CommandStop = IDM_STOP,
    CommandEject = IDM_EJECT,
    CommandProperties = IDM_PROPERTIES,
    CommandIntroPlay = IDM_INTRO_PLAY,
    CommandRepeatAll = IDM_REPEAT_ALL,
    CommandRepeatCurrent = IDM_REPEAT_CURRENT,
    CommandShowControls = IDM_SHOW_CONTROLS,
    CommandHideControls = IDM_HIDE_CONTROLS,
    CommandFirstTrackItem = IDM_TRACK_FIRST, // Select Track items, tracks 1 to 20
    CommandLastTrackItem = IDM_TRACK_LAST,
    CommandCompleteTrackList = IDM_COMPLETE_TRACK_LIST,
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
