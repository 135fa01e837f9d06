#include "app/panelbuttons.h"

PanelButtonStates PanelButtonsFor(PlayState state) {
    switch (state) {
    case Playing:
        return {false, true, true, true, true};
    case Paused:
        return {true, true, true, false, false};
    case Stopped:
        return {true, false, false, false, false};
    default:
        return {false, false, false, false, false};
    }
}
