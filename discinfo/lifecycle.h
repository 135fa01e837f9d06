// Loading everything known about the disc at start and saving it at the end.
#pragma once

#include "platform/uinotify.h"

// Runs once, on the user-interface thread, right after the device was opened: loads
// the options, fills DiscInfo from the registry or Cdplayer.ini or else the disc's own
// CD-Text, and starts the lookup thread when none of them knows the disc (CD-Text that
// leaves an audio track untitled is shown until the lookup has found better).
void StartDiscInfo(WindowHandle ownerWindow, unsigned changedMessage);

// Runs at shutdown (and at the end of a Windows session), on the user-interface
// thread: closes a pending match choice, then saves the options and the disc record.
// Saves only once per run and nothing when StartDiscInfo never completed.
void FinishDiscInfo();
