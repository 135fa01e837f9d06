#include "app/trayevents.h"

#include "app/commands.h"
#include "app/mediakeys.h"
#include "app/shellstate.h"

namespace {

TrayAction ActionFor(int behaviour, unsigned message) {
    switch (message) {
    case TrayLeftButtonDown:
    case TrayLeftDoubleClick:
        return TrayAction::Click;
    case TrayRightButtonDown:
        // With the keyboard behaviour the menu comes with WM_CONTEXTMENU, after the
        // button is released; opening it on the press too would open it twice.
        return behaviour == TrayFirstBehaviour ? TrayAction::Menu : TrayAction::None;
    case TrayContextMenu:
        return behaviour == TrayFirstBehaviour ? TrayAction::None : TrayAction::Menu;
    case TrayKeySelect:
        return behaviour == TrayFirstBehaviour ? TrayAction::None : TrayAction::KeySelect;
    default:
        return TrayAction::None;
    }
}

} // namespace

TrayEvent ReadTrayCallback(int behaviour, std::uintptr_t wParam, std::intptr_t lParam) {
    TrayEvent event;
    if (behaviour >= TrayCurrentBehaviour) {
        event.message = static_cast<unsigned>(lParam & 0xFFFF);
        event.anchored = true;
        event.x = static_cast<std::int16_t>(wParam & 0xFFFF);
        event.y = static_cast<std::int16_t>((wParam >> 16) & 0xFFFF);
    } else {
        event.message = static_cast<unsigned>(lParam);
    }
    event.action = ActionFor(behaviour, event.message);
    return event;
}

TrayRecord TrayRecordFor(unsigned major, unsigned minor, unsigned build) {
    if (major > 6 || (major == 6 && (minor > 0 || build >= 6000))) return TrayRecord::Fourth;
    if (major == 6) return TrayRecord::Third;
    if (major == 5) return TrayRecord::Second;
    return TrayRecord::First;
}

void RunTrayKeySelect(std::uint32_t now, std::uint32_t repeatWindow) {
    ShellState& shell = Shell();
    const bool repeat = shell.keySelectSeen && now - shell.lastKeySelect < repeatWindow;
    shell.keySelectSeen = true;
    shell.lastKeySelect = now;
    if (repeat) return;
    RunMediaKey(MediaPlayPauseKey);
}
