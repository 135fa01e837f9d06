// The shell on the user-interface thread: the main window procedure, start and shutdown.
#pragma once

#include <windows.h>

#include "platform/win32/shellhandles.h"

// The main window's procedure: the program's command dispatcher.
INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs as the main window is destroyed: stops, saves and closes everything, then ends
// the message loop.
void Shutdown();

// The process entry's work: returns the exit code of the quit message.
int RunTunova(HINSTANCE instance, const char* cmdLine);

// The notification icon's upkeep beyond its pictures and tip (app/trayicon.h): added
// again when the taskbar is made anew (Explorer restarted, or the main monitor's scale
// changed), its pictures loaded again when the taskbar's size or theme changed, and the
// keyboard's focus given back to the notification area when its menu was dismissed.
void AddTrayIconAgain();
void RefreshTrayIcons();
void ReturnFocusToTray();

// The media keys as hot keys of the window; a key another program holds is logged and
// left to it.
void RegisterMediaKeys(HWND window);
void UnregisterMediaKeys(HWND window);
