// Resource ids: dialog templates, icons and bitmaps, shared by the resource scripts and
// the code. The ids of controls and menu commands have a header each, included here so
// that every resource script sees all of them through this one.
#pragma once

#include "resources/commandids.h"
#include "resources/controlids.h"

// Dialog templates
#define IDD_ABOUT 103
#define IDD_PROGRAMMING 119
#define IDD_CD_INFORMATION 121
#define IDD_OPTIONS 122
#define IDD_PANEL 123
#define IDD_CDDB_QUERY 126
#define IDD_CDDB_SUBMIT 127
#define IDD_SUBMIT_ENTRY 136
#define IDD_SELECT_TRACK 137
#define IDD_MATCH_CHOICE 138
#define IDD_DIAGNOSTICS 142

// The program's icon: 16, 32 and 48 pixels
#define IDI_PROGRAM 100

// The About box's picture
#define IDI_ABOUT 104

// Icons, 16 x 16 (with images of 20 to 48 pixels scaled from them)
#define IDI_DISC_NOTE 108
#define IDI_DISC_PAUSE 109
#define IDI_DISC 110
#define IDI_DISC_SQUARE 112
#define IDI_DISC_CROSS 133

// The same for a dark taskbar: grey outlines instead of black
#define IDI_DISC_NOTE_ON_DARK 1108
#define IDI_DISC_PAUSE_ON_DARK 1109
#define IDI_DISC_ON_DARK 1110
#define IDI_DISC_SQUARE_ON_DARK 1112
#define IDI_DISC_CROSS_ON_DARK 1133

// The Programming page's move buttons
#define IDI_ARROW_UP 131
#define IDI_ARROW_DOWN 132

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

// The faces at twice and three times their size (28 and 42 pixels), for screens of
// more than 96 DPI
#define IDB_FACE_2X(face) (2000 + (face))
#define IDB_FACE_3X(face) (3000 + (face))
