#include "app/win32/panel.h"

#include "app/panelbuttons.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/statustext.h"
#include "app/win32/shell.h"
#include "app/win32/timers.h"
#include "resources/resource.h"

namespace {

void Enable(int id, bool enabled) { EnableWindow(GetDlgItem(MainWindow(), id), enabled ? TRUE : FALSE); }

} // namespace

void UpdatePanelButtons() {
    if (!Shell().panelVisible) return;
    const PanelButtonStates states = PanelButtonsFor(Shell().playState);
    Enable(IDC_PLAY, states.play);
    Enable(IDC_PAUSE, states.pause);
    Enable(IDC_STOP, states.stop);
    Enable(IDC_PREVIOUS, states.previous);
    Enable(IDC_NEXT, states.next);
}

void ShowPanel(bool visible) {
    ShellState& shell = Shell();
    shell.panelVisible = visible;
    if (visible) {
        RefreshMenus(false);
        UpdatePanelButtons();
        StatusTick();
        StartScanTimer(ScanTimerIdleMs);
        ShowWindow(MainWindow(), SW_SHOW);
        SetForegroundWindow(MainWindow());
    } else {
        StopScanTimer();
        ShowWindow(MainWindow(), SW_HIDE);
        RefreshMenus(false);
    }
}

// The menus arrive with the pop-up menu resource.
void BuildMenus() {}
void RefreshMenus(bool) {}
