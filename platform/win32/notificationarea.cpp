#include "platform/win32/notificationarea.h"

#include <shlwapi.h>

namespace {

class SystemNotificationArea : public NotificationArea {
public:
    BOOL Notify(DWORD message, NOTIFYICONDATAW* record) override { return Shell_NotifyIconW(message, record); }

    void Version(unsigned* major, unsigned* minor, unsigned* build) override {
        *major = 4;
        *minor = 0;
        *build = 0;
        // Looked up: the first shell32 has no DllGetVersion.
        HMODULE shell = GetModuleHandleW(L"shell32.dll");
        auto getVersion = shell ? reinterpret_cast<DLLGETVERSIONPROC>(
                                      reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")))
                                : nullptr;
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof info;
        if (!getVersion || FAILED(getVersion(&info))) return;
        *major = info.dwMajorVersion;
        *minor = info.dwMinorVersion;
        *build = info.dwBuildNumber;
    }
};

NotificationArea*& Installed() {
    static NotificationArea* area = nullptr;
    return area;
}

} // namespace

void InstallNotificationArea(NotificationArea* area) { Installed() = area; }

NotificationArea& TheNotificationArea() {
    static SystemNotificationArea system;
    NotificationArea* area = Installed();
    return area ? *area : system;
}
