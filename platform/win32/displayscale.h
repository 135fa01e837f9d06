// The screen's scale and colours, as the windows draw for them. The calls that tell
// them on today's Windows came with Windows 8.1 and 10; each is looked up when first
// needed, never imported, so that the program still loads on Windows 95 and NT 4, where
// the screen has one DPI, the system's, and these answers fall back to it.
#pragma once

#include <windows.h>

// The DPI of the monitor a window is on (GetDpiForWindow, Windows 10 1607), else the
// system's.
int WindowDpi(HWND window);
// The DPI of the main monitor, where the taskbar's notification area is
// (GetDpiForMonitor, Windows 8.1), else the system's.
int MainMonitorDpi();
// A system metric at a DPI (GetSystemMetricsForDpi, Windows 10 1607), else the
// system's value scaled from the system's DPI.
int SystemMetricForDpi(int metric, int dpi);
// Whether the user has a high-contrast theme on.
bool HighContrastOn();
// An icon resource at size x size pixels: the icon's own image of that size, or the
// nearest the system makes of another. Owned by the caller (DestroyIcon).
HICON LoadIconSized(HINSTANCE instance, int id, int size);
