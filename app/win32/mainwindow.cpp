#include <windows.h>
#include <windowsx.h>

#include "app/commands.h"
#include "app/mediakeys.h"
#include "app/mixer.h"
#include "app/resume.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/trayevents.h"
#include "app/trayicon.h"
#include "app/win32/mixerwindow.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "discinfo/lifecycle.h"
#include "discinfo/options.h"
#include "platform/win32/displayscale.h"
#include "resources/resource.h"
#include "resources/messageids.h"
#include "ui/about/aboutbox.h"
#include "ui/properties/pages.h"
#include "ui/properties/properties.h"

void RunStartSequence(HWND window);

namespace {

// "Properties...": one sheet at a time; an accepted new program restarts play at the
// first track of its sequence, and the panel takes up the accepted Always Visible.
void RunPropertiesCommand() {
    ShellState& shell = Shell();
    if (shell.propertiesOpen) return;
    shell.propertiesOpen = true;
    const int programChanged = ShowProperties();
    // The program may have been ended while the sheet was open.
    if (!shell.ending) {
        if (programChanged) {
            shell.currentTrack = ChooseTrack(ChooseFirst);
            shell.playState = PlayTrack(shell.currentTrack);
            // Play may have started from a stop or a pause: the icon and the buttons
            // show the new state at once, as after any other play command.
            UpdateTrayIcon();
            UpdatePanelButtons();
        }
        if (shell.panelVisible) {
            SetWindowPos(MainWindow(), AlwaysVisibleBand(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        RefreshMenus(true);
    }
    shell.propertiesOpen = false;
}

bool HandleWindowCommand(int command) {
    switch (command) {
    case CommandShowControls:
        ShowPanel(!Shell().panelVisible);
        return true;
    case CommandHideControls:
        ShowPanel(false);
        return true;
    case CommandCompleteTrackList:
        return RunCompleteTrackList();
    case CommandAbout:
        ShowAboutBox();
        return true;
    case CommandProperties:
        RunPropertiesCommand();
        return true;
    default:
        return false;
    }
}

void OnTrayMessage(HWND window, WPARAM wParam, LPARAM lParam) {
    const TrayEvent event = ReadTrayCallback(Shell().trayBehaviour, wParam, lParam);
    switch (event.action) {
    case TrayAction::Click:
        HandleTrayClick(event.message);
        break;
    case TrayAction::Menu: {
        const POINT anchor{event.x, event.y};
        ShowTrayMenu(window, event.anchored ? &anchor : nullptr);
        break;
    }
    case TrayAction::KeySelect:
        RunTrayKeySelect(GetTickCount(), GetDoubleClickTime());
        break;
    default:
        break;
    }
}

// WM_DPICHANGED: the window is now on a monitor of another scale (Windows 10 1703 and
// later, with per-monitor awareness).
constexpr UINT DpiChangedMessage = 0x02E0;
// WM_THEMECHANGED (XP).
constexpr UINT ThemeChangedMessage = 0x031A;

// The screen changed under the windows: its scale, the theme's colours or the taskbar's.
// The dialog manager lays the panel out again itself; the faces and icons follow here.
void FollowDisplay(HWND window) {
    Shell().highContrast = HighContrastOn();
    RefreshTrayIcons();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Sent to every top-level window when the taskbar is made anew: a new Explorer has no
// icons of the old one's.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// Mouse positions are signed: with the mouse captured, a point left of or above the
// panel is negative, not a large coordinate.
POINT MessagePoint(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

POINT ClientPointOnScreen(HWND window, LPARAM lParam) {
    POINT point = MessagePoint(lParam);
    ClientToScreen(window, &point);
    return point;
}

void OnWindowMoved(HWND window, const WINDOWPOS& position) {
    ProgramOptionsRecord& options = ProgramOptions();
    // A change of z-order alone need not carry the position.
    if (!(position.flags & SWP_NOMOVE)) {
        options.ControlsX = position.x;
        options.ControlsY = position.y;
    }
    const ShellState& shell = Shell();
    if (options.ControlsOnTop && shell.panelVisible && !shell.dragging) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

} // namespace

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreatedMessage() && message != 0) {
        AddTrayIconAgain();
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        // Before the start sequence's lookup can end.
        InstallPropertyPageNotifier();
        RunStartSequence(window);
        return TRUE;
    case WM_DESTROY:
        Shutdown();
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_QUERYENDSESSION:
        SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_ENDSESSION:
        // The session ends the process without a destroy: save as an exit does.
        if (wParam) {
            NoteResumePoint();
            FinishDiscInfo();
        }
        return TRUE;
    case WM_COMMAND: {
        const int command = LOWORD(wParam);
        // Enter, which the dialog manager gives the panel as its OK.
        if (command == IDOK) {
            PressFocusedPanelButton();
            return TRUE;
        }
        if (RunPlayerCommand(command) || HandleWindowCommand(command) || VolumeButtonClicked(command)) return TRUE;
        return FALSE;
    }
    case WM_DRAWITEM: {
        // The volume bar has no face: the mixer draws it while one is open.
        const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return DrawVolumeBar(item) || DrawPanelButton(item) ? TRUE : FALSE;
    }
    case WM_WINDOWPOSCHANGED:
        OnWindowMoved(window, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return TRUE;
    case WM_LBUTTONDOWN:
        if (!Shell().panelVisible) return FALSE;
        BeginPanelDrag(window, ClientPointOnScreen(window, lParam));
        return TRUE;
    case WM_NCLBUTTONDOWN:
        if (!Shell().panelVisible) return FALSE;
        BeginPanelDrag(window, MessagePoint(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        if (!Shell().dragging) return FALSE;
        MovePanelDrag(window, ClientPointOnScreen(window, lParam));
        return TRUE;
    case WM_LBUTTONUP:
        if (!Shell().panelVisible) return FALSE;
        EndPanelDrag();
        return TRUE;
    case WM_CAPTURECHANGED:
        // A drag that lost the mouse has ended, or the status line would stay frozen.
        PanelDragInterrupted();
        return FALSE;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        ShowPanelMenu(window);
        return TRUE;
    case mixer::ControlChangeMessage:
        MixerControlChanged(static_cast<MixerHandle>(wParam), static_cast<std::uint32_t>(lParam));
        return TRUE;
    case WM_HOTKEY:
        RunMediaKey(static_cast<unsigned>(wParam));
        return TRUE;
    case TrayCallbackMessage:
        OnTrayMessage(window, wParam, lParam);
        return TRUE;
    case DpiChangedMessage:
        Shell().panelDpi = HIWORD(wParam);
        FollowDisplay(window);
        return FALSE; // the dialog manager sizes the panel and places its buttons anew
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case ThemeChangedMessage:
        FollowDisplay(window);
        return FALSE;
    case DiscInfoChangedMessage:
        if (InSendMessage()) ReplyMessage(1);
        RefreshMenus(true);
        return TRUE;
    default:
        return FALSE;
    }
}
