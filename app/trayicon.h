// The notification-area icon: its picture for each play state and its tip.
#pragma once

#include <string>

#include "cdaudio/cddevice.h"
#include "resources/messageids.h"
#include "resources/resource.h"

// Icon resources, 16 x 16.
enum TrayIconId {
    TrayIconDisc = IDI_DISC,             // start-up, until the first state is known
    TrayIconPlaying = IDI_DISC_NOTE,     // disc with a musical note
    TrayIconPaused = IDI_DISC_PAUSE,     // disc with pause bars
    TrayIconStopped = IDI_DISC_SQUARE,   // disc with a square
    TrayIconError = IDI_DISC_CROSS,      // disc with a red cross
};

constexpr unsigned TrayIconUid = 1001;

int TrayIconFor(PlayState state);

// The platform side (the Windows build; a native build has no icon).
void AddTrayIcon(void* window, unsigned message);
void ShowTrayError();
void SetTrayIconPlaying();
void SetTrayIconPaused();
void SetTrayIconStopped();
void SetTrayTip(const std::string& text);
void RemoveTrayIcon();
// The picture for the shell's play state.
void UpdateTrayIcon();
