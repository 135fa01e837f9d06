#include <windows.h>

#include "app/win32/shell.h"

void Shutdown() {
    // Order matters: play is stopped and the icon removed before the disc information
    // is saved, and the device is closed last.
    PostQuitMessage(0);
}
