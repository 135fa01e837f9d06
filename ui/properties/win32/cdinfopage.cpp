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

// While the page itself puts a title into the Name field, the change it causes is not
// the user's typing. The change notification comes while the text is set; the flag is
// cleared afterwards as well, so a missing notification cannot swallow the user's next
// keystroke.
void ShowName(HWND page, PageContext& context, const std::string& title) {
    context.suppressNameChange = true;
    SetItemTextUtf8(page, IDC_INFO_NAME, title);
    context.suppressNameChange = false;
}

void FocusName(HWND page) {
    const HWND name = GetDlgItem(page, IDC_INFO_NAME);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
}

void EnableEditing(HWND page, bool enable) {
    for (int id : EditableControls) EnableControl(page, id, enable);
}

void FillTracks(HWND page, const PropertiesCopy& copy) {
    FillList(page, IDC_INFO_TRACKS, DiscTrackItems(copy));
    SelectItem(page, IDC_INFO_TRACKS, 0);
}

void FillPage(HWND page, PageContext& context) {
    const PropertiesCopy& copy = context.copy;
    SetItemTextUtf8(page, IDC_INFO_ARTIST, copy.artist);
    SetItemTextUtf8(page, IDC_INFO_TITLE, copy.title);
    FillTracks(page, copy);
    ShowName(page, context, CopyTrackTitle(copy, 1));
}

void OnTrackSelected(HWND page, PageContext& context) {
    ShowName(page, context, CopyTrackTitle(context.copy, SelectedItem(page, IDC_INFO_TRACKS) + 1));
    FocusName(page);
}

void OnNameChanged(HWND page, PageContext& context) {
    if (context.suppressNameChange) {
        context.suppressNameChange = false;
        return;
    }
    PropertiesCopy& copy = context.copy;
    const int selected = SelectedItem(page, IDC_INFO_TRACKS);
    const int count = static_cast<int>(SendDlgItemMessageW(page, IDC_INFO_TRACKS, LB_GETCOUNT, 0, 0));
    const std::string text = ControlText(page, IDC_INFO_NAME);
    const NameChange change = DecideNameChange(text, selected, count);
    if (change.kind == NameChange::MoveOn) {
        SelectItem(page, IDC_INFO_TRACKS, change.track);
        ShowName(page, context, CopyTrackTitle(copy, change.track + 1));
        FocusName(page);
    } else if (change.kind == NameChange::Store) {
        if (StoreTrackTitle(copy, change.track, text)) {
            // The field shows what the title keeps, not a tail that was dropped.
            ShowName(page, context, CopyTrackTitle(copy, change.track + 1));
            const HWND name = GetDlgItem(page, IDC_INFO_NAME);
            const int end = GetWindowTextLengthW(name);
            SendMessageW(name, EM_SETSEL, static_cast<WPARAM>(end), end);
        }
        ReplaceItem(page, IDC_INFO_TRACKS, change.track, TrackItemText(copy, change.track + 1));
        SelectItem(page, IDC_INFO_TRACKS, change.track);
    }
}

void OnClearAll(HWND page, PageContext& context) {
    if (!ConfirmWarning(page, "All CD and track information will be reset.\nDo you want to continue?",
                        "Clear All Confirmation"))
        return;
    SetItemTextUtf8(page, IDC_INFO_ARTIST, "");
    SetItemTextUtf8(page, IDC_INFO_TITLE, "");
    ClearTrackTitles(context.copy);
    FillTracks(page, context.copy);
    ShowName(page, context, "");
}

void Init(HWND page, PageContext&) {
    // The edits take no more than the record keeps, so nothing typed is dropped unseen.
    // They count UTF-16 units: one a letter, except the rare letters beyond U+FFFF,
    // which take two, so a title of those is limited to half as many when typed.
    SendDlgItemMessageW(page, IDC_INFO_ARTIST, EM_LIMITTEXT, DiscEditTextLimit, 0);
    SendDlgItemMessageW(page, IDC_INFO_TITLE, EM_LIMITTEXT, DiscEditTextLimit, 0);
    SendDlgItemMessageW(page, IDC_INFO_NAME, EM_LIMITTEXT, NameEditTextLimit, 0);
}

void Activated(HWND page, PageContext& context) {
    EnableEditing(page, !DiscInfo().lookupRunning);
    FillPage(page, context);
}

void Store(HWND page, PageContext& context) {
    // While a lookup runs the fields are read-only and its result wins.
    if (DiscInfo().lookupRunning) return;
    StoreDiscEditText(context.copy.artist, ControlText(page, IDC_INFO_ARTIST));
    StoreDiscEditText(context.copy.title, ControlText(page, IDC_INFO_TITLE));
}

bool Command(HWND page, PageContext& context, int id, int code) {
    if (id == IDC_INFO_TRACKS && code == LBN_SELCHANGE) OnTrackSelected(page, context);
    else if (id == IDC_INFO_NAME && code == EN_CHANGE) OnNameChanged(page, context);
    else if (id == IDC_INFO_CLEAR_ALL && code == BN_CLICKED) OnClearAll(page, context);
    else return false;
    return true;
}

void LookupEnded(HWND page, PageContext& context) {
    FillPage(page, context);
    EnableEditing(page, true);
}

} // namespace

// Every message is handled under DiscInfoLock, which the lookup's hand-over takes to
// refresh the copy.
const PageHandlers CdInfoPage = [] {
    PageHandlers page;
    page.slot = &PropertyPagesRecord::cdInfoPage;
    page.workEndedMessage = LookupEndedCdInfoMessage;
    page.underLock = true;
    page.init = Init;
    page.activated = Activated;
    page.store = Store;
    page.command = Command;
    page.workEnded = LookupEnded;
    return page;
}();
