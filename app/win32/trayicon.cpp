#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "app/statustext.h"
#include "app/trayicon.h"
#include "app/win32/shell.h"
#include "app/win32/traytip.h"
#include "platform/win32/widetext.h"

namespace {

// The first version of the wide record: what every shell since the first one accepts
// (152 bytes in the 32-bit program), with a tip of 64 UTF-16 units.
constexpr DWORD TrayRecordSize = NOTIFYICONDATAW_V1_SIZE;
#if !defined(_WIN64)
static_assert(TrayRecordSize == 152, "the 32-bit record is 152 bytes");
#endif
static_assert((TrayRecordSize - FIELD_OFFSET(NOTIFYICONDATAW, szTip)) / sizeof(WCHAR) == TrayTipLimit + 1,
              "the record's tip field holds the longest tip and its terminator");

struct TrayIcons {
    HWND owner = nullptr;
    HICON disc = nullptr, playing = nullptr, paused = nullptr, stopped = nullptr, error = nullptr;
};

TrayIcons& Icons() {
    static TrayIcons icons;
    return icons;
}

NOTIFYICONDATAW Record(UINT flags) {
    NOTIFYICONDATAW record;
    std::memset(&record, 0, sizeof record);
    record.cbSize = TrayRecordSize;
    record.hWnd = Icons().owner;
    record.uID = TrayIconUid;
    record.uFlags = flags;
    return record;
}

HICON LoadTrayIcon(int id) { return LoadIconW(AppInstance(), MAKEINTRESOURCEW(id)); }

void ModifyIcon(HICON icon) {
    NOTIFYICONDATAW record = Record(NIF_ICON);
    record.hIcon = icon;
    Shell_NotifyIconW(NIM_MODIFY, &record);
}

} // namespace

void CopyTrayTip(NOTIFYICONDATAW& record, const std::string& text) {
    const std::wstring tip = Utf8ToWide(CutTrayTip(text));
    const std::size_t units = tip.size() < TrayTipLimit ? tip.size() : TrayTipLimit;
    std::memcpy(record.szTip, tip.c_str(), units * sizeof(WCHAR));
    record.szTip[units] = L'\0';
}

void AddTrayIcon(void* window, unsigned message) {
    TrayIcons& icons = Icons();
    icons.owner = static_cast<HWND>(window);
    icons.disc = LoadTrayIcon(TrayIconDisc);
    icons.playing = LoadTrayIcon(TrayIconPlaying);
    icons.paused = LoadTrayIcon(TrayIconPaused);
    icons.stopped = LoadTrayIcon(TrayIconStopped);
    icons.error = LoadTrayIcon(TrayIconError);
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    record.uCallbackMessage = message;
    record.hIcon = icons.disc;
    CopyTrayTip(record, "Connecting to CD Player");
    // A desktop without a notification area refuses the icon; the player works on.
    Shell_NotifyIconW(NIM_ADD, &record);
}

void ShowTrayError() {
    NOTIFYICONDATAW record = Record(NIF_ICON | NIF_TIP);
    record.hIcon = Icons().error;
    CopyTrayTip(record, "Tunova Error");
    Shell_NotifyIconW(NIM_MODIFY, &record);
}

void SetTrayIconPlaying() { ModifyIcon(Icons().playing); }
void SetTrayIconPaused() { ModifyIcon(Icons().paused); }
void SetTrayIconStopped() { ModifyIcon(Icons().stopped); }

void SetTrayTip(const std::string& text) {
    NOTIFYICONDATAW record = Record(NIF_TIP);
    CopyTrayTip(record, text);
    Shell_NotifyIconW(NIM_MODIFY, &record);
}

void RemoveTrayIcon() {
    if (!Icons().owner) return;
    NOTIFYICONDATAW record = Record(0);
    Shell_NotifyIconW(NIM_DELETE, &record);
}
