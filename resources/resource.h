// Resource ids, shared by the resource script and the code.
#pragma once

// Dialog templates
#define IDD_PANEL 123
#define IDD_SELECT_TRACK 137
#define IDD_DIAGNOSTICS 142

// Control panel (dialog 123)
#define IDC_PLAY 1047
#define IDC_PAUSE 1048
#define IDC_STOP 1049
#define IDC_NEXT 1050
#define IDC_STATUS 1051
#define IDC_PREVIOUS 1053
#define IDC_EJECT 1054
#define IDC_VOLUME_UP 1090
#define IDC_VOLUME_DOWN 1091
#define IDC_VOLUME_BAR 1097

// Select Track dialog (dialog 137)
#define IDC_TRACK_LIST 1034

// Diagnostics window (dialog 142)
#define IDC_LOG_TEXT 1093

// The program's icon: 16, 32 and 48 pixels
#define IDI_PROGRAM 100

// Icons, 16 x 16 (with 32 and 48 pixel images scaled from them)
#define IDI_DISC_NOTE 108
#define IDI_DISC_PAUSE 109
#define IDI_DISC 110
#define IDI_DISC_SQUARE 112
#define IDI_DISC_CROSS 133

// Panel button faces, 14 x 14, 16 colours: normal, pushed, disabled
#define IDB_PLAY 144
#define IDB_PLAY_PUSHED 145
#define IDB_PAUSE 146
#define IDB_PAUSE_PUSHED 147
#define IDB_STOP 148
#define IDB_STOP_PUSHED 149
#define IDB_PREVIOUS 150
#define IDB_PREVIOUS_PUSHED 151
#define IDB_NEXT 152
#define IDB_NEXT_PUSHED 153
#define IDB_EJECT 154
#define IDB_EJECT_PUSHED 155
#define IDB_PLAY_DISABLED 156
#define IDB_PAUSE_DISABLED 157
#define IDB_STOP_DISABLED 158
#define IDB_PREVIOUS_DISABLED 159
#define IDB_NEXT_DISABLED 160
#define IDB_VOLUME_UP 161
#define IDB_VOLUME_UP_PUSHED 162
#define IDB_VOLUME_UP_DISABLED 163
#define IDB_VOLUME_DOWN 164
#define IDB_VOLUME_DOWN_PUSHED 165
#define IDB_VOLUME_DOWN_DISABLED 166

// Menu commands ("PopupMenu")
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
#define IDM_COMPLETE_TRACK_LIST 32889
