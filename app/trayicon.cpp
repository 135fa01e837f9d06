#include "app/trayicon.h"

#include "app/shellstate.h"

int TrayIconFor(PlayState state) {
    switch (state) {
    case Playing:
        return TrayIconPlaying;
    case Paused:
        return TrayIconPaused;
    case Stopped:
        return TrayIconStopped;
    default:
        return TrayIconError;
    }
}

void UpdateTrayIcon() {
    switch (TrayIconFor(Shell().playState)) {
    case TrayIconPlaying:
        SetTrayIconPlaying();
        break;
    case TrayIconPaused:
        SetTrayIconPaused();
        break;
    case TrayIconStopped:
        SetTrayIconStopped();
        break;
    default:
        ShowTrayError();
        break;
    }
}
