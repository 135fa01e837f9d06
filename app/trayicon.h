// The notification-area icon: its picture for each play state and its tip.
#pragma once

#include <string>

#include "cdaudio/cddevice.h"

// Icon resources, 16 x 16.
enum TrayIconId {
    TrayIconDisc = 110,       // start-up, until the first state is known
    TrayIconPlaying = 108,    // disc with a musical note
    TrayIconPaused = 109,     // disc with pause bars
    TrayIconStopped = 112,    // disc with a square
    TrayIconError = 133,      // disc with a red cross
};

constexpr unsigned TrayCallbackMessage = 0xA710;
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
