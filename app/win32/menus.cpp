// The two pop-up menus: built once from the "PopupMenu" resource, kept in step with the
// play state, and shown from the notification icon and the panel.
#include <windows.h>

#include <string>

#include "app/commands.h"
#include "log/logmessage.h"
#include "app/menus.h"
#include "app/sequencing.h"
#include "app/shellstate.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "platform/win32/scoped.h"
#include "platform/win32/widetext.h"
#include "resources/resource.h"

namespace {

struct MenuHandles {
    ScopedMenu resource; // the loaded menu; the pop-ups below belong to it
    HMENU tray = nullptr;
    HMENU trayTrack = nullptr;
    HMENU panel = nullptr;
    HMENU panelTrack = nullptr;
};

MenuHandles& Menus() {
    static MenuHandles menus;
    return menus;
}

constexpr int TrayTrackMenuPosition = 7;
constexpr int PanelTrackMenuPosition = 0;

void Enable(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Check(HMENU menu, UINT id, bool checked) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void ApplyChecks(HMENU menu, const MenuChecks& checks) {
    Check(menu, IDM_RANDOM_ORDER, checks.randomOrder);
    Check(menu, IDM_INTRO_PLAY, checks.introPlay);
    Check(menu, IDM_REPEAT_ALL, checks.repeatAll);
    Check(menu, IDM_REPEAT_CURRENT, checks.repeatCurrent);
}

// A new text replaces the item's flags too, so its grey and check state go with it.
void SetItemText(HMENU menu, UINT id, const std::string& text) {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return;
    ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)), id, Utf8ToWide(text).c_str());
}

void ApplyTrackMarks(HMENU trackMenu) {
    for (int track = 1; track <= MenuTrackItemCount(); ++track) {
        const TrackItemMarks marks = TrackItemMarksFor(track);
        const UINT id = static_cast<UINT>(TrackMenuCommand(track));
        Check(trackMenu, id, marks.checked);
        Enable(trackMenu, id, !marks.grey);
    }
}

void AddTrackItems(HMENU trackMenu) {
    DeleteMenu(trackMenu, IDM_TRACK_PLACEHOLDER, MF_BYCOMMAND);
    for (int track = 1; track <= MenuTrackItemCount(); ++track) {
        const UINT id = static_cast<UINT>(TrackMenuCommand(track));
        AppendMenuW(trackMenu, MF_STRING, id, L"");
        if (!IsAudioTrack(track)) Enable(trackMenu, id, false);
    }
    if (HasCompleteTrackList()) AppendMenuW(trackMenu, MF_STRING, IDM_COMPLETE_TRACK_LIST, L"Complete Track List...");
}

// Runs the menu at the point; false when it was dismissed without a choice.
bool ShowMenuAt(HWND window, HMENU menu, POINT point) {
    if (!menu) return false;
    // A menu opened for a window that is not in the foreground never closes when the
    // user clicks elsewhere; the null message after it lets a second menu open at once.
    SetForegroundWindow(window);
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                          point.x, point.y, 0, window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    if (command) PostMessageW(window, WM_COMMAND, command, 0);
    return command != 0;
}

POINT Cursor() {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    return cursor;
}

} // namespace

void BuildMenus() {
    MenuHandles& menus = Menus();
    menus = MenuHandles();
    menus.resource.Reset(LoadMenuW(AppInstance(), L"PopupMenu"));
    if (!menus.resource) {
        LogMessage("Unable to load the pop-up menus.");
        return;
    }
    menus.tray = GetSubMenu(menus.resource.Get(), 0);
    menus.panel = GetSubMenu(menus.resource.Get(), 1);
    menus.trayTrack = GetSubMenu(menus.tray, TrayTrackMenuPosition);
    menus.panelTrack = GetSubMenu(menus.panel, PanelTrackMenuPosition);
    for (HMENU trackMenu : {menus.trayTrack, menus.panelTrack}) AddTrackItems(trackMenu);

    ShellState& shell = Shell();
    for (int track = 1; track <= MenuTrackItemCount() && track <= static_cast<int>(shell.trackMarks.size());
         ++track) {
        shell.trackMarks[track - 1].menuCommand = TrackMenuCommand(track);
    }
}

void RefreshMenus(bool rebuildTitles) {
    const MenuHandles& menus = Menus();
    if (!menus.tray) return;

    const TrayMenuEnables enables = TrayMenuEnablesFor(Shell().playState);
    Enable(menus.tray, IDM_PLAY, enables.play);
    Enable(menus.tray, IDM_PAUSE, enables.pause);
    Enable(menus.tray, IDM_STOP, enables.stop);
    Enable(menus.tray, IDM_EJECT, enables.eject);
    Enable(menus.tray, IDM_NEXT_TRACK, enables.nextTrack);
    Enable(menus.tray, IDM_PREVIOUS_TRACK, enables.previousTrack);

    const MenuChecks checks = CurrentMenuChecks();
    const bool panelFollows = PanelMenuFollows();
    ApplyChecks(menus.tray, checks);
    if (panelFollows) ApplyChecks(menus.panel, checks);
    Check(menus.tray, IDM_SHOW_CONTROLS, checks.showControls);

    if (rebuildTitles) {
        DiscInfoHold hold;
        for (int track = 1; track <= MenuTrackItemCount(); ++track) {
            const std::string text = TrackItemText(track);
            const UINT id = static_cast<UINT>(TrackMenuCommand(track));
            SetItemText(menus.trayTrack, id, text);
            if (panelFollows) SetItemText(menus.panelTrack, id, text);
        }
    }

    ApplyTrackMarks(menus.trayTrack);
    if (panelFollows) ApplyTrackMarks(menus.panelTrack);
}

HMENU TrayMenu() { return Menus().tray; }
HMENU PanelMenu() { return Menus().panel; }

void ShowTrayMenu(HWND window, const POINT* anchor) {
    // The right button is still down while the menu opens; a menu tracking the right
    // button would take that for a choice.
    BYTE keys[256];
    if (GetKeyboardState(keys)) {
        keys[VK_RBUTTON] &= static_cast<BYTE>(~0x80);
        SetKeyboardState(keys);
    }
    const bool chosen = ShowMenuAt(window, Menus().tray, anchor ? *anchor : Cursor());
    // Dismissed with Escape (a click elsewhere makes another window the foreground):
    // the keyboard goes back to the notification area it came from.
    if (!chosen && GetForegroundWindow() == window) ReturnFocusToTray();
}

void ShowPanelMenu(HWND window) { ShowMenuAt(window, Menus().panel, Cursor()); }
