// A native build has no notification area.
#include "app/trayicon.h"

void AddTrayIcon(void*, unsigned) {}
void ShowTrayError() {}
void SetTrayIconPlaying() {}
void SetTrayIconPaused() {}
void SetTrayIconStopped() {}
void SetTrayTip(const std::string&) {}
void RemoveTrayIcon() {}
