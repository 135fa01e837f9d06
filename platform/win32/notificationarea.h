// The taskbar's notification area as the program reaches it: the one call that adds,
// changes and removes the icon, and the version of the shell behind it, which says
// which record it takes. Installed once at start-up; tests put a recording shell in
// its place.
#pragma once

#include <windows.h>
#include <shellapi.h>

class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // Shell_NotifyIconW.
    virtual BOOL Notify(DWORD message, NOTIFYICONDATAW* record) = 0;
    // shell32.dll's version (DllGetVersion); 4.0.0 for a shell without that function.
    virtual void Version(unsigned* major, unsigned* minor, unsigned* build) = 0;
};

// Null puts the system's shell back.
void InstallNotificationArea(NotificationArea* area);
NotificationArea& TheNotificationArea();
