#include <windows.h>

#include "app/log/logmessage.h"
#include "app/win32/shell.h"
#include "resources/resource.h"

namespace {

void RunStartSequence(HWND window) {
    LogMessage("Starting general initialization.");
    SetMainWindow(window);
    // The panel has no caption bar; the title names the window for the shell and tests.
    SetWindowTextA(window, "Tunova2");
}

bool HandleCommand(HWND window, int command) {
    switch (command) {
    case IDM_EXIT:
        DestroyWindow(window);
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        RunStartSequence(window);
        return TRUE;
    case WM_DESTROY:
        Shutdown();
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_COMMAND:
        return HandleCommand(window, LOWORD(wParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}
