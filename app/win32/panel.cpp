#include "app/win32/panel.h"

#include "app/panelbuttons.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/statustext.h"
#include "app/win32/shell.h"
#include "app/win32/timers.h"
#include "discinfo/options.h"
#include "resources/resource.h"

namespace {

void Enable(int id, bool enabled) { EnableWindow(GetDlgItem(MainWindow(), id), enabled ? TRUE : FALSE); }

// Where the cursor was relative to the panel's top-left corner when the drag began.
POINT& DragOffset() {
    static POINT offset{0, 0};
    return offset;
}

// A button disabled under the keyboard's focus drops it, and a panel with no focus
// takes no more keys: the focus goes to the button that plays or pauses now.
void KeepKeyboardFocus(HWND panel) {
    HWND next = nullptr;
    for (int id : {IDC_PLAY, IDC_PAUSE}) {
        HWND button = GetDlgItem(panel, id);
        if (!next && IsWindowEnabled(button)) next = button;
    }
    if (!next) next = GetNextDlgTabItem(panel, nullptr, FALSE);
    if (next) SendMessageW(panel, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
}

} // namespace

void UpdatePanelButtons() {
    if (!Shell().panelVisible) return;
    HWND panel = MainWindow();
    // The focus as the keyboard has it: none while another program is in front.
    HWND focus = GetFocus();
    const PanelButtonStates states = PanelButtonsFor(Shell().playState);
    Enable(IDC_PLAY, states.play);
    Enable(IDC_PAUSE, states.pause);
    Enable(IDC_STOP, states.stop);
    Enable(IDC_PREVIOUS, states.previous);
    Enable(IDC_NEXT, states.next);
    if (focus && GetParent(focus) == panel && !IsWindowEnabled(focus)) KeepKeyboardFocus(panel);
}

HWND AlwaysVisibleBand() { return ProgramOptions().ControlsOnTop ? HWND_TOPMOST : HWND_NOTOPMOST; }

void ShowPanel(bool visible) {
    ShellState& shell = Shell();
    shell.panelVisible = visible;
    if (visible) {
        // The panel's menu is not kept up to date while the panel is hidden: its track
        // texts are made now too, or a panel first shown after start has empty ones.
        RefreshMenus(true);
        UpdatePanelButtons();
        StatusTick();
        StartScanTimer(ScanTimerIdleMs);
        StartVolumeRepeatTimer();
        // Always Visible may have changed while the panel was hidden.
        SetWindowPos(MainWindow(), AlwaysVisibleBand(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(MainWindow(), SW_SHOW);
        SetForegroundWindow(MainWindow());
    } else {
        StopScanTimer();
        StopVolumeRepeatTimer();
        if (shell.dragging) EndPanelDrag();
        ShowWindow(MainWindow(), SW_HIDE);
        RefreshMenus(false);
    }
}

void PressFocusedPanelButton() {
    HWND panel = MainWindow();
    HWND focus = GetFocus();
    if (!Shell().panelVisible || !focus || GetParent(focus) != panel || !IsWindowEnabled(focus)) return;
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
}

void BeginPanelDrag(HWND window, POINT screenPoint) {
    ShellState& shell = Shell();
    if (!shell.panelVisible) return;
    SetCapture(window);
    shell.dragging = true;
    const ProgramOptionsRecord& options = ProgramOptions();
    DragOffset() = POINT{screenPoint.x - options.ControlsX, screenPoint.y - options.ControlsY};
}

void MovePanelDrag(HWND window, POINT screenPoint) {
    if (!Shell().dragging) return;
    const POINT offset = DragOffset();
    SetWindowPos(window, AlwaysVisibleBand(), screenPoint.x - offset.x, screenPoint.y - offset.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
}

void EndPanelDrag() {
    ShellState& shell = Shell();
    if (!shell.panelVisible && !shell.dragging) return;
    shell.dragging = false;
    ReleaseCapture();
}

void PanelDragInterrupted() { Shell().dragging = false; }
