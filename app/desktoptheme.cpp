#include "app/desktoptheme.h"

#include <cstdint>

#include "app/trayicon.h"
#include "discinfo/registryvalues.h"
#include "platform/registry.h"
#include "resources/resource.h"

bool TaskbarIsDark() {
    RegistryKeyHold key;
    if (Registry().OpenKey(RegistryCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                           RegistryKeyRead, key.Out()) != RegistrySuccess) {
        return false;
    }
    std::int32_t light = 1;
    ReadRegistryDword(key.Get(), "SystemUsesLightTheme", &light);
    return light == 0;
}

int TrayIconPicture(int icon, bool darkTaskbar) {
    if (!darkTaskbar) return icon;
    switch (icon) {
    case TrayIconDisc:
        return IDI_DISC_ON_DARK;
    case TrayIconPlaying:
        return IDI_DISC_NOTE_ON_DARK;
    case TrayIconPaused:
        return IDI_DISC_PAUSE_ON_DARK;
    case TrayIconStopped:
        return IDI_DISC_SQUARE_ON_DARK;
    case TrayIconError:
        return IDI_DISC_CROSS_ON_DARK;
    default:
        return icon;
    }
}
