// The process-wide handles of the user-interface thread that every window of the
// program needs: the module instance for resource lookups and the main window as the
// owner of dialogs. The start sequence sets them; they live this low so that the log's
// window and the dialogs can reach them without depending on the shell.
#pragma once

#include <windows.h>

// The module instance, for every resource lookup.
HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

// The main window (the control panel dialog), set by its initialisation.
HWND MainWindow();
void SetMainWindow(HWND window);
