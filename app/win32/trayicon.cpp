#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <string>

#include "app/desktoptheme.h"
#include "app/shellstate.h"
#include "app/statustext.h"
#include "app/trayevents.h"
#include "app/trayicon.h"
#include "app/win32/shell.h"
#include "app/win32/traytip.h"
#include "platform/win32/displayscale.h"
#include "platform/win32/notificationarea.h"
#include "platform/win32/scoped.h"
#include "platform/win32/widetext.h"

namespace {

// The record of Windows Vista and later: the one before, and the balloon's icon.
struct CurrentTrayRecord {
    NOTIFYICONDATAW record;
    HICON balloonIcon;
};
static_assert(offsetof(CurrentTrayRecord, balloonIcon) == sizeof(NOTIFYICONDATAW),
              "the balloon's icon follows the record of Windows XP");
#if !defined(_WIN64)
static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "the first wide record is 152 bytes in the 32-bit program");
#endif
// Every shell shows a tip of 64 UTF-16 units, the field of the first record; later records
// have room for more, but the tip is cut for the first so that every shell shows the same.
static_assert((NOTIFYICONDATAW_V1_SIZE - FIELD_OFFSET(NOTIFYICONDATAW, szTip)) / sizeof(WCHAR) == TrayTipLimit + 1,
              "the first record's tip field holds the longest tip and its terminator");

// NIF_SHOWTIP, which the headers give only to programs made for Vista and later.
constexpr UINT ShowStandardTip = 0x00000080;

// The record's size each shell takes (the sizes its documentation names).
DWORD RecordSize(TrayRecord record) {
    switch (record) {
    case TrayRecord::Second:
        return NOTIFYICONDATAW_V2_SIZE;
    case TrayRecord::Third:
        return sizeof(NOTIFYICONDATAW);
    case TrayRecord::Fourth:
        return sizeof(CurrentTrayRecord);
    default:
        return NOTIFYICONDATAW_V1_SIZE;
    }
}

struct TrayIcons {
    HWND owner = nullptr;
    UINT callbackMessage = 0;
    TrayRecord record = TrayRecord::First;
    int picture = TrayIconDisc; // the TrayIconId shown now
    std::string tip;            // the tip shown now, for adding the icon again
    bool darkTaskbar = false;
    int size = 16;
    std::map<int, ScopedIcon> loaded; // by TrayIconId
};

TrayIcons& Icons() {
    static TrayIcons icons;
    return icons;
}

constexpr int Pictures[] = {TrayIconDisc, TrayIconPlaying, TrayIconPaused, TrayIconStopped, TrayIconError};

// The icons at the size the shell shows them, for the taskbar's theme.
void LoadIcons(TrayIcons& icons) {
    icons.darkTaskbar = TaskbarIsDark();
    icons.size = SystemMetricForDpi(SM_CXSMICON, MainMonitorDpi());
    for (int picture : Pictures) {
        icons.loaded[picture].Reset(LoadIconSized(AppInstance(), TrayIconPicture(picture, icons.darkTaskbar), icons.size));
    }
}

HICON Icon(int picture) {
    const auto found = Icons().loaded.find(picture);
    return found == Icons().loaded.end() ? nullptr : found->second.Get();
}

// A record naming the icon, with the fields flags says are valid. At version 4 the
// shell shows the standard tip only when asked to.
void Prepare(NOTIFYICONDATAW& record, UINT flags) {
    const TrayIcons& icons = Icons();
    std::memset(&record, 0, sizeof record);
    record.cbSize = RecordSize(icons.record);
    record.hWnd = icons.owner;
    record.uID = TrayIconUid;
    if ((flags & NIF_TIP) && Shell().trayBehaviour == TrayCurrentBehaviour) flags |= ShowStandardTip;
    record.uFlags = flags;
}

// Shows the text as the tip and keeps it, for adding the icon again.
void CopyTip(NOTIFYICONDATAW& record, const std::string& text) {
    Icons().tip = text;
    CopyTrayTip(record, text);
}

BOOL Notify(DWORD message, CurrentTrayRecord& record) { return TheNotificationArea().Notify(message, &record.record); }

void ModifyIcon(int picture) {
    Icons().picture = picture;
    CurrentTrayRecord record = {};
    Prepare(record.record, NIF_ICON);
    record.record.hIcon = Icon(picture);
    Notify(NIM_MODIFY, record);
}

// Asks for the newest behaviour the shell knows: the keyboard and the menu's anchor at
// version 4 (Vista), the keyboard at version 3 (2000 and XP), else the first.
int AskBehaviour() {
    if (Icons().record == TrayRecord::First) return TrayFirstBehaviour;
    for (int behaviour : {TrayCurrentBehaviour, TrayKeyboardBehaviour}) {
        CurrentTrayRecord record = {};
        Prepare(record.record, 0);
        record.record.uVersion = static_cast<UINT>(behaviour);
        if (Notify(NIM_SETVERSION, record)) return behaviour;
    }
    return TrayFirstBehaviour;
}

// Puts the icon into the notification area as it is now: picture, tip and behaviour.
void Add() {
    TrayIcons& icons = Icons();
    ShellState& shell = Shell();
    shell.trayBehaviour = TrayFirstBehaviour;
    CurrentTrayRecord record = {};
    Prepare(record.record, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    record.record.uCallbackMessage = icons.callbackMessage;
    record.record.hIcon = Icon(icons.picture);
    CopyTip(record.record, icons.tip);
    // A desktop without a notification area refuses the icon; the player works on.
    if (!Notify(NIM_ADD, record)) return;
    shell.trayBehaviour = AskBehaviour();
    // The tip given with the icon shows at version 4 only when asked for.
    if (shell.trayBehaviour == TrayCurrentBehaviour) SetTrayTip(icons.tip);
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
    icons.callbackMessage = message;
    unsigned major = 4, minor = 0, build = 0;
    TheNotificationArea().Version(&major, &minor, &build);
    icons.record = TrayRecordFor(major, minor, build);
    icons.picture = TrayIconDisc;
    icons.tip = "Connecting to CD Player";
    LoadIcons(icons);
    Add();
}

void AddTrayIconAgain() {
    if (Icons().owner) Add();
}

void RefreshTrayIcons() {
    TrayIcons& icons = Icons();
    if (!icons.owner) return;
    const bool dark = TaskbarIsDark();
    const int size = SystemMetricForDpi(SM_CXSMICON, MainMonitorDpi());
    if (dark == icons.darkTaskbar && size == icons.size) return;
    LoadIcons(icons);
    ModifyIcon(icons.picture);
}

void ReturnFocusToTray() {
    if (!Icons().owner || Shell().trayBehaviour == TrayFirstBehaviour) return;
    CurrentTrayRecord record = {};
    Prepare(record.record, 0);
    Notify(NIM_SETFOCUS, record);
}

void ShowTrayError() {
    Icons().picture = TrayIconError;
    CurrentTrayRecord record = {};
    Prepare(record.record, NIF_ICON | NIF_TIP);
    record.record.hIcon = Icon(TrayIconError);
    CopyTip(record.record, "Tunova Error");
    Notify(NIM_MODIFY, record);
}

void SetTrayIconPlaying() { ModifyIcon(TrayIconPlaying); }
void SetTrayIconPaused() { ModifyIcon(TrayIconPaused); }
void SetTrayIconStopped() { ModifyIcon(TrayIconStopped); }

void SetTrayTip(const std::string& text) {
    CurrentTrayRecord record = {};
    Prepare(record.record, NIF_TIP);
    CopyTip(record.record, text);
    Notify(NIM_MODIFY, record);
}

void RemoveTrayIcon() {
    TrayIcons& icons = Icons();
    if (!icons.owner) return;
    CurrentTrayRecord record = {};
    Prepare(record.record, 0);
    Notify(NIM_DELETE, record);
    icons.loaded.clear();
    icons.owner = nullptr;
}
