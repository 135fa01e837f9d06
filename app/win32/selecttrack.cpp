// The Select Track dialog: every track of a disc too long for the Select Track menu.
#include <windows.h>

#include "app/commands.h"
#include "log/logmessage.h"
#include "app/menus.h"
#include "app/shellstate.h"
#include "app/win32/panel.h"
#include "app/win32/shell.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "platform/win32/windowtext.h"
#include "resources/resource.h"

namespace {

void FillTrackList(HWND dialog) {
    const HWND list = GetDlgItem(dialog, IDC_TRACK_LIST);
    {
        DiscInfoHold hold;
        for (int track = 1; track <= CdDevice().trackCount; ++track) AddListLine(list, TrackListLine(track));
    }
    SendDlgItemMessageW(dialog, IDC_TRACK_LIST, LB_SETCURSEL, static_cast<WPARAM>(TrackListInitialLine()), 0);
}

int SelectedTrack(HWND dialog) {
    const LRESULT line = SendDlgItemMessageW(dialog, IDC_TRACK_LIST, LB_GETCURSEL, 0, 0);
    return TrackFromListLine(line == LB_ERR ? -1 : static_cast<int>(line));
}

INT_PTR CALLBACK SelectTrackProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        FillTrackList(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, SelectedTrack(dialog));
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_TRACK_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK) {
                EndDialog(dialog, SelectedTrack(dialog));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

int SelectTrackDialog() {
    const INT_PTR chosen = DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_SELECT_TRACK), MainWindow(),
                                           SelectTrackProc, 0);
    if (chosen == -1) {
        LogMessage("Unable to open the Select Track dialog.");
        return 0;
    }
    return static_cast<int>(chosen);
}

bool RunCompleteTrackList() {
    if (!CompleteTrackListAvailable()) return false;
    ShellState& shell = Shell();
    shell.selectDialogOpen = true;
    const int track = SelectTrackDialog();
    shell.selectDialogOpen = false;
    // The program may have ended while the dialog was open (the disc was removed).
    if (track > 0 && !shell.ending) PlayChosenTrack(track);
    return true;
}
