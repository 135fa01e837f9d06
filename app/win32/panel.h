// The control panel and its pop-up menus: the main window made visible, with its
// buttons, status line, dragging, menus and the Select Track dialog.
#pragma once

#include <windows.h>

// The enabled state of the five play buttons for the play state; nothing while hidden.
void UpdatePanelButtons();
// Shows or hides the panel with its timers (the Show and Hide Controls commands).
void ShowPanel(bool visible);
// Where Always Visible puts the panel in the z-order: HWND_TOPMOST, or HWND_NOTOPMOST,
// which also takes it out of the topmost band.
HWND AlwaysVisibleBand();

// Loads the button faces once (the start sequence; drawing loads any still missing).
void LoadPanelFaces();
// Draws an owner-drawn panel button; false for a control without faces.
bool DrawPanelButton(const DRAWITEMSTRUCT& item);
// The focus on a panel button: a dotted frame just inside it, unless the system hides
// it until the keyboard is used.
void DrawPanelFocus(const DRAWITEMSTRUCT& item);
// Frees the faces as the panel goes (the shutdown).
void FreePanelFaces();
// Gives each button its tip: its name, and the key that does the same. The tips go
// with the panel (the shutdown).
void AddPanelTips(HWND panel);
void RemovePanelTips();
// The tips' window; null before they are added.
HWND PanelTipsWindow();

// Enter: runs the panel's button that has the keyboard's focus.
void PressFocusedPanelButton();

// Dragging the panel with the left button. Points are screen coordinates.
void BeginPanelDrag(HWND window, POINT screenPoint);
void MovePanelDrag(HWND window, POINT screenPoint);
void EndPanelDrag();
// The mouse capture went elsewhere (another window, a menu, a task switch).
void PanelDragInterrupted();

// Builds both menus' Select Track items for the disc (once per run).
void BuildMenus();
// The menus' enabled, checked and text states; rebuildTitles also sets the track texts.
void RefreshMenus(bool rebuildTitles);
// The notification icon's menu (pop-up 0) and the panel's (pop-up 1); null until built.
HMENU TrayMenu();
HMENU PanelMenu();
// Open a menu owned by the main window, tracking the right button: the notification
// area's where the shell anchors it, else at the cursor, and the panel's at the cursor.
void ShowTrayMenu(HWND window, const POINT* anchor = nullptr);
void ShowPanelMenu(HWND window);

// The Select Track dialog: the chosen track number, or 0.
int SelectTrackDialog();
// "Complete Track List...": false when the disc has 20 tracks or fewer or the dialog is
// already open (the command is then not handled); else runs the dialog and plays the choice.
bool RunCompleteTrackList();

// Installs the real windows as the shell's views.
void InstallWindowView();
