#include <windows.h>

#include "app/mixer.h"
#include "app/resume.h"
#include "app/trayicon.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "app/win32/timers.h"
#include "cdaudio/cddevice.h"
#include "cddb/submitthread.h"
#include "discinfo/lifecycle.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"
#include "platform/win32/sentmessages.h"

void Shutdown() {
    StopStatusTimer();
    UnregisterMediaKeys(MainWindow());
    // Before the stop at exit: the point is where the user left the disc.
    NoteResumePoint();
    if (ProgramOptions().StopAtExit) StopPlay();
    CloseMixer();
    RemoveTrayIcon();
    // The workers read the disc record and the table of contents: they end before the
    // record is saved and the device closed. A worker may be telling a window of this
    // thread of its end meanwhile, so the wait handles sent messages.
    CancelDiscLookup();
    CancelSubmission();
    JoinDiscLookup(PumpSentMessages);
    JoinSubmission(PumpSentMessages);
    FinishDiscInfo();
    CloseCdDevice();
    FreePanelFaces();
    RemovePanelTips();
    PostQuitMessage(0);
}
