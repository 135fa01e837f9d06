// What the shell's logic asks of its windows: the icon, the menus, the panel, timers
// and the end of the program. The Windows build installs the real windows; tests
// install a recorder.
#pragma once

#include <string>

class ShellView {
public:
    virtual ~ShellView() = default;

    // The icon's picture for the current play state.
    virtual void UpdateTrayIcon() = 0;
    virtual void SetTrayTip(const std::string& tip) = 0;
    // rebuildTitles: the track items' texts are made again from the disc information.
    virtual void RefreshMenus(bool rebuildTitles) = 0;
    // The enabled state of the panel's play buttons for the current play state.
    virtual void UpdatePanelButtons() = 0;
    // The panel's status line (IDC_STATUS).
    virtual void SetStatusLine(const std::string& text) = 0;
    // Destroys the main window: the program ends through its shutdown.
    virtual void EndProgram() = 0;
    // Whether the panel button with this control id is held down.
    virtual bool IsButtonHeld(int controlId) = 0;
    // Restarts the scan timer with a new period.
    virtual void SetScanTimerPeriod(int milliseconds) = 0;
    // Starts (again, from now) or stops the 500 ms tray click timer.
    virtual void StartTrayClickTimer() = 0;
    virtual void StopTrayClickTimer() = 0;
};

// Ends the program (the main window is destroyed); no view is refreshed after it.
void EndProgram();

// Installed once by the main window's initialisation (tests install their own).
void InstallShellView(ShellView* view);
ShellView& View();
