// Process-wide handles of the user-interface thread.
#pragma once

#include <windows.h>

// The module instance, for every resource lookup.
HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

// The main window (the control panel dialog), set by its initialisation.
HWND MainWindow();
void SetMainWindow(HWND window);

// The main window's procedure: the program's command dispatcher.
INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs as the main window is destroyed: stops, saves and closes everything, then ends
// the message loop.
void Shutdown();

// The process entry's work: returns the exit code of the quit message.
int RunTunova(HINSTANCE instance, const char* cmdLine);

// The media keys as hot keys of the window; a key another program holds is logged and
// left to it.
void RegisterMediaKeys(HWND window);
void UnregisterMediaKeys(HWND window);
