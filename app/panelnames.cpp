#include "app/panelnames.h"

#include "app/mediakeys.h"
#include "resources/controlids.h"

namespace {

const char* MediaKeyName(MediaKeyCode code) {
    for (const MediaKey& key : MediaKeys) {
        if (key.code == code) return key.name;
    }
    return nullptr;
}

} // namespace

const char* PanelButtonKey(int controlId) {
    switch (controlId) {
    case IDC_PLAY:
    case IDC_PAUSE:
        return MediaKeyName(MediaPlayPauseKey);
    case IDC_STOP:
        return MediaKeyName(MediaStopKey);
    case IDC_PREVIOUS:
        return MediaKeyName(MediaPreviousTrackKey);
    case IDC_NEXT:
        return MediaKeyName(MediaNextTrackKey);
    // The volume keys work the system's master volume, which these buttons work too.
    case IDC_VOLUME_UP:
        return "Volume Up";
    case IDC_VOLUME_DOWN:
        return "Volume Down";
    case IDC_VOLUME_BAR:
        return "Mute";
    default:
        return nullptr;
    }
}

std::string PanelButtonTip(const std::string& name, int controlId) {
    const char* key = PanelButtonKey(controlId);
    return key ? name + " (" + key + " key)" : name;
}
