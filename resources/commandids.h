// Menu command ids, shared by the resource script, the code and the tests. The panel's
// buttons send their control ids (controlids.h) as commands.
#pragma once

// The notification-area menu ("PopupMenu")
#define IDM_PLAY 40014
#define IDM_PAUSE 40015
#define IDM_NEXT_TRACK 40016
#define IDM_PREVIOUS_TRACK 40017
#define IDM_ABOUT 40018
#define IDM_EXIT 40019
#define IDM_RANDOM_ORDER 40020
#define IDM_STOP 40021
#define IDM_TRACK_PLACEHOLDER 40035
#define IDM_EJECT 40038
#define IDM_PROPERTIES 40040
#define IDM_INTRO_PLAY 40041
#define IDM_REPEAT_ALL 40043
#define IDM_REPEAT_CURRENT 40044
#define IDM_SHOW_CONTROLS 40046
#define IDM_HIDE_CONTROLS 40048

// Select Track: one item per track, built at run time (tracks 1 to 20, in order from
// IDM_TRACK_FIRST), then Complete Track List... for longer discs.
#define IDM_TRACK_FIRST 32869
#define IDM_TRACK_LAST 32888
#define IDM_COMPLETE_TRACK_LIST 32889
