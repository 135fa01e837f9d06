#include <windows.h>

#include "app/mixer.h"
#include "app/resume.h"
#include "app/trayicon.h"
#include "app/win32/shell.h"
#include "app/win32/timers.h"
#include "cdaudio/cddevice.h"
#include "discinfo/lifecycle.h"
#include "discinfo/options.h"

void Shutdown() {
    StopStatusTimer();
    UnregisterMediaKeys(MainWindow());
    // Before the stop at exit: the point is where the user left the disc.
    NoteResumePoint();
    if (ProgramOptions().StopAtExit) StopPlay();
    CloseMixer();
    RemoveTrayIcon();
    FinishDiscInfo();
    CloseCdDevice();
    PostQuitMessage(0);
}
