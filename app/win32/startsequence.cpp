// Turns the freshly created, hidden main window into a running player.
#include <windows.h>

#include <string>

#include "app/commands.h"
#include "log/logmessage.h"
#include "app/resume.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/startsequence.h"
#include "app/trayicon.h"
#include "app/win32/mixerwindow.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "app/win32/timers.h"
#include "cdaudio/cddevice.h"
#include "cddb/lookup.h"
#include "discinfo/lifecycle.h"
#include "discinfo/options.h"
#include "platform/cdaudiodriver.h"
#include "platform/win32/displayscale.h"
#include "platform/win32/windowtext.h"
#include "resources/messageids.h"

namespace {

// Tells the user why nothing can play, then leaves through the Exit command.
void EndStartWithMessage(const char* text) {
    ShowMessageBox(nullptr, text, "Tunova Error", MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
    PostMessageW(MainWindow(), WM_COMMAND, CommandExit, 0);
}

void PlacePanelWindow(HWND window) {
    ProgramOptionsRecord& options = ProgramOptions();
    RECT workArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const PanelPlacement placement = PlacePanel(options.ControlsX, options.ControlsY, workArea.right, workArea.bottom);
    options.ControlsX = placement.x;
    options.ControlsY = placement.y;
    SetWindowPos(window, options.ControlsOnTop ? HWND_TOPMOST : HWND_TOP, placement.x, placement.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
    if (options.ControlsVisibleAtStart) {
        ShowWindow(window, SW_SHOW);
        Shell().panelVisible = true;
    }
}

} // namespace

void RunStartSequence(HWND window) {
    ShellState& shell = Shell();
    LogMessage("Starting general initialization.");
    SetMainWindow(window);
    // The panel has no caption bar; the title names the window for the shell and tests.
    SetWindowTextW(window, L"Tunova2");
    InstallWindowView();
    // The panel draws for its screen's scale and colours from its first paint.
    shell.panelDpi = WindowDpi(window);
    shell.highContrast = HighContrastOn();
    AddTrayIcon(window, TrayCallbackMessage);

    InstallStartupCdAudioDriver([](const std::string& line) { LogMessage(line.c_str()); });
    const std::vector<std::string> drives = BuildDriveList(shell.commandLineDrive);
    if (drives.empty()) {
        EndStartWithMessage(StartFailureMessage(0, Failed));
        return;
    }
    std::string drive;
    shell.playState = TryDrives(drives, drive);
    if (shell.playState < 1) {
        LogMessage("Unable to find audio CD on any players in system.");
        ShowTrayError();
        EndStartWithMessage(StartFailureMessage(drives.size(), shell.playState));
        return;
    }
    LogMessage("Successfully found an audio CD in drive: ", drive.c_str());

    InstallCddbLookup();
    StartDiscInfo(window, DiscInfoChangedMessage);
    // The options are loaded now: they say whether to play digitally.
    ChoosePlaybackPath(drive.c_str(), ProgramOptions().DigitalPlayback != 0);
    PlacePanelWindow(window);
    PrepareTrackMarks();
    shell.playState = StartFirstPlay();

    LoadPanelFaces();
    AddPanelTips(window);
    StartMixer(window);
    BuildMenus();
    RefreshMenus(true);
    UpdateTrayIcon();
    if (shell.panelVisible) UpdatePanelButtons();
    StatusTick();
    StartStatusTimer();
    RegisterMediaKeys(window);
    if (shell.panelVisible) {
        StartScanTimer(ScanTimerIdleMs);
        StartVolumeRepeatTimer();
    }
}
