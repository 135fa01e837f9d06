// The CD Information page: the disc's artist, title and track titles in the copy.
// Every message is handled under DiscInfoLock, which the lookup thread takes to refresh
// the copy; setting a field's text re-enters this procedure on the same thread.
#include <windows.h>
#include <commctrl.h>

#include "discinfo/discinfo.h"
#include "resources/resource.h"
#include "ui/properties/cdinfo.h"
#include "ui/properties/pages.h"
#include "ui/properties/trackitems.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

constexpr int EditableControls[] = {IDC_INFO_ARTIST, IDC_INFO_TITLE, IDC_INFO_TRACKS, IDC_INFO_NAME,
                                    IDC_INFO_CLEAR_ALL};

PropertiesCopy* Copy() { return DiscInfo().propertiesCopy; }

// DWLP_USER holds the page's suppressNameChange flag: set while the page itself puts a
// title into the Name field, so that only the user's typing is stored.
bool NameChangeSuppressed(HWND page) { return GetWindowLongPtrA(page, DWLP_USER) != 0; }
void SuppressNameChange(HWND page, bool suppress) { SetWindowLongPtrA(page, DWLP_USER, suppress ? 1 : 0); }

// The change notification comes while the text is set; the flag is cleared afterwards
// as well, so a missing notification cannot swallow the user's next keystroke.
void ShowName(HWND page, const char* title) {
    SuppressNameChange(page, true);
    SetDlgItemTextA(page, IDC_INFO_NAME, title);
    SuppressNameChange(page, false);
}

void FocusName(HWND page) {
    const HWND name = GetDlgItem(page, IDC_INFO_NAME);
    SetFocus(name);
    SendMessageA(name, EM_SETSEL, 0, -1);
}

void EnableEditing(HWND page, bool enable) {
    for (int id : EditableControls) EnableControl(page, id, enable);
}

void FillTracks(HWND page, const PropertiesCopy& copy) {
    FillList(page, IDC_INFO_TRACKS, DiscTrackItems(copy));
    SelectItem(page, IDC_INFO_TRACKS, 0);
}

void FillPage(HWND page) {
    const PropertiesCopy* copy = Copy();
    if (!copy) return;
    SetDlgItemTextA(page, IDC_INFO_ARTIST, copy->artist);
    SetDlgItemTextA(page, IDC_INFO_TITLE, copy->title);
    FillTracks(page, *copy);
    ShowName(page, CopyTrackTitle(*copy, 1));
}

void StoreArtistAndTitle(HWND page) {
    PropertiesCopy* copy = Copy();
    if (!copy) return;
    StoreDiscEditText(copy->artist, ControlText(page, IDC_INFO_ARTIST));
    StoreDiscEditText(copy->title, ControlText(page, IDC_INFO_TITLE));
}

void OnTrackSelected(HWND page) {
    const PropertiesCopy* copy = Copy();
    if (!copy) return;
    ShowName(page, CopyTrackTitle(*copy, SelectedItem(page, IDC_INFO_TRACKS) + 1));
    FocusName(page);
}

void OnNameChanged(HWND page) {
    if (NameChangeSuppressed(page)) {
        SuppressNameChange(page, false);
        return;
    }
    PropertiesCopy* copy = Copy();
    if (!copy) return;
    const int selected = SelectedItem(page, IDC_INFO_TRACKS);
    const int count = static_cast<int>(SendDlgItemMessageA(page, IDC_INFO_TRACKS, LB_GETCOUNT, 0, 0));
    const std::string text = ControlText(page, IDC_INFO_NAME);
    const NameChange change = DecideNameChange(text, selected, count);
    if (change.kind == NameChange::MoveOn) {
        SelectItem(page, IDC_INFO_TRACKS, change.track);
        ShowName(page, CopyTrackTitle(*copy, change.track + 1));
        FocusName(page);
    } else if (change.kind == NameChange::Store) {
        if (StoreTrackTitle(*copy, change.track, text)) {
            // The field shows what the title keeps, not a tail that was dropped.
            ShowName(page, CopyTrackTitle(*copy, change.track + 1));
            SendDlgItemMessageA(page, IDC_INFO_NAME, EM_SETSEL, DiscEditTextLimit, DiscEditTextLimit);
        }
        ReplaceItem(page, IDC_INFO_TRACKS, change.track, TrackItemText(*copy, change.track + 1));
        SelectItem(page, IDC_INFO_TRACKS, change.track);
    }
}

void OnClearAll(HWND page) {
    if (!ConfirmWarning(page, "All CD and track information will be reset.\nDo you want to continue?",
                        "Clear All Confirmation"))
        return;
    PropertiesCopy* copy = Copy();
    if (!copy) return;
    SetDlgItemTextA(page, IDC_INFO_ARTIST, "");
    SetDlgItemTextA(page, IDC_INFO_TITLE, "");
    ClearTrackTitles(*copy);
    FillTracks(page, *copy);
    ShowName(page, "");
}

INT_PTR OnNotify(HWND page, const NMHDR& notice) {
    switch (notice.code) {
    case PSN_SETACTIVE:
        EnableEditing(page, !DiscInfo().lookupRunning);
        FillPage(page);
        PropertyPages().cdInfoPage = page;
        return AnswerNotification(page, 0);
    case PSN_KILLACTIVE:
        // While a lookup runs the fields are read-only and its result wins.
        if (!DiscInfo().lookupRunning) StoreArtistAndTitle(page);
        PropertyPages().cdInfoPage = nullptr;
        return AnswerNotification(page, FALSE);
    case PSN_APPLY:
        return AcceptSheet(page);
    default:
        return FALSE;
    }
}

INT_PTR OnCommand(HWND page, int id, int code) {
    if (id == IDC_INFO_TRACKS && code == LBN_SELCHANGE) OnTrackSelected(page);
    else if (id == IDC_INFO_NAME && code == EN_CHANGE) OnNameChanged(page);
    else if (id == IDC_INFO_CLEAR_ALL && code == BN_CLICKED) OnClearAll(page);
    else return FALSE;
    return TRUE;
}

} // namespace

INT_PTR CALLBACK CdInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LookupEndedCdInfoMessage) ReplyToWorker();
    DiscInfoHold hold;
    switch (message) {
    case WM_INITDIALOG:
        // The edits take what the record keeps, so nothing typed is dropped unseen.
        SendDlgItemMessageA(page, IDC_INFO_ARTIST, EM_LIMITTEXT, DiscEditTextLimit, 0);
        SendDlgItemMessageA(page, IDC_INFO_TITLE, EM_LIMITTEXT, DiscEditTextLimit, 0);
        SendDlgItemMessageA(page, IDC_INFO_NAME, EM_LIMITTEXT, NameEditTextLimit, 0);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
    case LookupEndedCdInfoMessage:
        FillPage(page);
        EnableEditing(page, true);
        return TRUE;
    case WM_DESTROY:
        // The sheet may close without deactivating this page.
        if (PropertyPages().cdInfoPage == page) PropertyPages().cdInfoPage = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
