// Resource ids, shared by the resource script and the code.
#pragma once

// Dialog templates
#define IDD_PANEL 123
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

// Diagnostics window (dialog 142)
#define IDC_LOG_TEXT 1093

// Icons, 16 x 16
#define IDI_DISC_NOTE 108
#define IDI_DISC_PAUSE 109
#define IDI_DISC 110
#define IDI_DISC_SQUARE 112
#define IDI_DISC_CROSS 133

// Menu commands
#define IDM_EXIT 40019
