#include <windows.h>

#include "app/commands.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/trayicon.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "discinfo/lifecycle.h"
#include "discinfo/options.h"
#include "resources/resource.h"

void RunStartSequence(HWND window);

namespace {

bool HandleWindowCommand(HWND window, int command) {
    switch (command) {
    case CommandShowControls:
        ShowPanel(!Shell().panelVisible);
        return true;
    case CommandHideControls:
        ShowPanel(false);
        return true;
    default:
        (void)window;
        return false;
    }
}

void OnTrayMessage(UINT mouseMessage) {
    if (mouseMessage == WM_RBUTTONDOWN) return; // the menu comes with the pop-up menu resource
    HandleTrayClick(mouseMessage);
}

void OnWindowMoved(HWND window, const WINDOWPOS& position) {
    ProgramOptionsRecord& options = ProgramOptions();
    options.ControlsX = position.x;
    options.ControlsY = position.y;
    const ShellState& shell = Shell();
    if (options.ControlsOnTop && shell.panelVisible && !shell.dragging) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

} // namespace

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_QUERYENDSESSION:
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_ENDSESSION:
        // The session ends the process without a destroy: save as an exit does.
        if (wParam) FinishDiscInfo();
        return TRUE;
    case WM_COMMAND: {
        const int command = LOWORD(wParam);
        if (RunPlayerCommand(command) || HandleWindowCommand(window, command)) return TRUE;
        return FALSE;
    }
    case WM_WINDOWPOSCHANGED:
        OnWindowMoved(window, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return TRUE;
    case TrayCallbackMessage:
        OnTrayMessage(static_cast<UINT>(lParam));
        return TRUE;
    case DiscInfoChangedMessage:
        if (InSendMessage()) ReplyMessage(1);
        RefreshMenus(true);
        return TRUE;
    default:
        return FALSE;
    }
}
