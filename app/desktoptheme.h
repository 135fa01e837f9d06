// The user's choice of colours for the desktop, as far as the player draws for it.
#pragma once

// Windows 10 and 11 let the user choose a light or a dark taskbar: the current user's
// SystemUsesLightTheme (under Software\Microsoft\Windows\CurrentVersion\Themes\Personalize)
// is 0 for dark. Older Windows have no such value; their taskbars suit the icons as
// drawn, which counts as light.
bool TaskbarIsDark();

// The picture of a notification icon (TrayIconId) for the taskbar: its dark-taskbar
// variant on a dark one.
int TrayIconPicture(int icon, bool darkTaskbar);
