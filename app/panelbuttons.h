// Which of the panel's play buttons are enabled in which play state.
#pragma once

#include "cdaudio/cddevice.h"

struct PanelButtonStates {
    bool play, pause, stop, previous, next;
};

PanelButtonStates PanelButtonsFor(PlayState state);
