// The notification icon's callback message as the shell sends it, and what the player
// does for it. How the shell sends it depends on the behaviour the icon asked for:
//   first   every shell: the second parameter is the mouse message alone;
//   3       Windows 2000 and later: the same, and the keyboard too, Space or Enter on
//           the icon as NIN_KEYSELECT and the menu key or Shift+F10 as WM_CONTEXTMENU
//           (which a right click also brings, after its button messages);
//   4       Vista and later: the event in the low word of the second parameter, the
//           icon's id in its high word, and in the first the point on the screen where
//           a menu belongs.
#pragma once

#include <cstdint>

enum TrayBehaviour { TrayFirstBehaviour = 0, TrayKeyboardBehaviour = 3, TrayCurrentBehaviour = 4 };

// The shell's events the player answers.
constexpr unsigned TrayContextMenu = 0x007B; // WM_CONTEXTMENU
constexpr unsigned TraySelect = 0x0400;      // NIN_SELECT: a click, already heard as button messages
constexpr unsigned TrayKeySelect = 0x0401;   // NIN_KEYSELECT

enum class TrayAction {
    None,
    Click,     // a left-button press or double click: the click sequence (HandleTrayClick)
    Menu,      // the notification-area menu
    KeySelect, // Space or Enter on the icon: what one click does, at once
};

struct TrayEvent {
    TrayAction action = TrayAction::None;
    unsigned message = 0;  // the shell's event
    bool anchored = false; // x and y say where the menu belongs
    int x = 0, y = 0;
};

TrayEvent ReadTrayCallback(int behaviour, std::uintptr_t wParam, std::intptr_t lParam);

// Which record the shell takes and which behaviour to ask of it, by the version of its
// shell32.dll (DllGetVersion; 4.0 when the DLL has no such function).
enum class TrayRecord {
    First,  // before 5.0: 64-character tip, no behaviour to ask for
    Second, // 5.0 (Windows 2000): the record with uVersion
    Third,  // 6.0 (XP): with guidItem
    Fourth, // 6.0.6000 (Vista) and later: with hBalloonIcon
};
TrayRecord TrayRecordFor(unsigned major, unsigned minor, unsigned build);

// Space or Enter on the icon at the given time (milliseconds, any origin): pauses,
// resumes or starts, as the Play/Pause key does. Enter brings the event twice, so one
// within repeatWindow milliseconds of the last is the same key and is ignored.
void RunTrayKeySelect(std::uint32_t now, std::uint32_t repeatWindow);
