#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "app/statustext.h"
#include "app/trayicon.h"
#include "app/win32/shell.h"

namespace {

// The first version of the record: what every shell since the first one accepts
// (88 bytes in the 32-bit program).
constexpr DWORD TrayRecordSize = NOTIFYICONDATAA_V1_SIZE;
#if !defined(_WIN64)
static_assert(TrayRecordSize == 88, "the 32-bit record is 88 bytes");
#endif

struct TrayIcons {
    HWND owner = nullptr;
    HICON disc = nullptr, playing = nullptr, paused = nullptr, stopped = nullptr, error = nullptr;
};

TrayIcons& Icons() {
    static TrayIcons icons;
    return icons;
}

NOTIFYICONDATAA Record(UINT flags) {
    NOTIFYICONDATAA record;
    std::memset(&record, 0, sizeof record);
    record.cbSize = TrayRecordSize;
    record.hWnd = Icons().owner;
    record.uID = TrayIconUid;
    record.uFlags = flags;
    return record;
}

HICON LoadTrayIcon(int id) { return LoadIconA(AppInstance(), MAKEINTRESOURCEA(id)); }

void ModifyIcon(HICON icon) {
    NOTIFYICONDATAA record = Record(NIF_ICON);
    record.hIcon = icon;
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void CopyTip(NOTIFYICONDATAA& record, const std::string& text) {
    const std::string tip = CutTrayTip(text);
    std::memcpy(record.szTip, tip.c_str(), tip.size() + 1);
}

} // namespace

void AddTrayIcon(void* window, unsigned message) {
    TrayIcons& icons = Icons();
    icons.owner = static_cast<HWND>(window);
    icons.disc = LoadTrayIcon(TrayIconDisc);
    icons.playing = LoadTrayIcon(TrayIconPlaying);
    icons.paused = LoadTrayIcon(TrayIconPaused);
    icons.stopped = LoadTrayIcon(TrayIconStopped);
    icons.error = LoadTrayIcon(TrayIconError);
    NOTIFYICONDATAA record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    record.uCallbackMessage = message;
    record.hIcon = icons.disc;
    CopyTip(record, "Connecting to CD Player");
    // A desktop without a notification area refuses the icon; the player works on.
    Shell_NotifyIconA(NIM_ADD, &record);
}

void ShowTrayError() {
    NOTIFYICONDATAA record = Record(NIF_ICON | NIF_TIP);
    record.hIcon = Icons().error;
    CopyTip(record, "Tunova Error");
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void SetTrayIconPlaying() { ModifyIcon(Icons().playing); }
void SetTrayIconPaused() { ModifyIcon(Icons().paused); }
void SetTrayIconStopped() { ModifyIcon(Icons().stopped); }

void SetTrayTip(const std::string& text) {
    NOTIFYICONDATAA record = Record(NIF_TIP);
    CopyTip(record, text);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void RemoveTrayIcon() {
    if (!Icons().owner) return;
    NOTIFYICONDATAA record = Record(0);
    Shell_NotifyIconA(NIM_DELETE, &record);
}
