// The control panel: the main window made visible, with its buttons and status line.
#pragma once

#include <windows.h>

// The enabled state of the five play buttons for the play state; nothing while hidden.
void UpdatePanelButtons();
// Shows or hides the panel with its timers (the Show and Hide Controls commands).
void ShowPanel(bool visible);
// The menus' enabled, checked and text states (built by BuildMenus).
void BuildMenus();
void RefreshMenus(bool rebuildTitles);

// Installs the real windows as the shell's views.
void InstallWindowView();
