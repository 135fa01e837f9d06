// The mixer on the real panel: discovery for the main window, the volume bar's drawing.
#pragma once

#include <windows.h>

// Installs the panel as the volume view and finds the mixer; its change notices go to
// the window.
void StartMixer(HWND window);
// Draws the volume bar while a mixer is open; false otherwise (then the control
// is left to the panel's buttons).
bool DrawVolumeBar(const DRAWITEMSTRUCT& item);
