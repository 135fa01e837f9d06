// The Programming page: the programmed order of the copy, edited entry by entry.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/shellhandles.h"
#include "discinfo/discinfo.h"
#include "resources/resource.h"
#include "ui/properties/pages.h"
#include "ui/properties/programming.h"
#include "ui/properties/trackitems.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

// Gives one of the three buttons the default border and the focus, so that Enter
// clicks it.
void MakeDefaultButton(HWND page, int id) {
    for (int button : {IDC_PROGRAM_ADD, IDC_PROGRAM_REMOVE, IDC_PROGRAM_CLEAR})
        SendDlgItemMessageA(page, button, BM_SETSTYLE, button == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    SetFocus(GetDlgItem(page, id));
}

void ShowArrows(HWND page, ArrowStates arrows) {
    EnableControl(page, IDC_PROGRAM_UP, arrows.up);
    EnableControl(page, IDC_PROGRAM_DOWN, arrows.down);
}

void FillLists(HWND page, const PropertiesCopy& copy) {
    FillList(page, IDC_PROGRAM_DISC_ORDER, DiscTrackItems(copy));
    std::vector<std::string> entries;
    for (int track : copy.program) entries.push_back(TrackItemText(copy, track));
    FillList(page, IDC_PROGRAM_ORDER, entries);
}

bool AddProgramEntry(HWND page, PropertiesCopy& copy, int track) {
    if (!AppendProgramTrack(copy, track)) return false;
    const std::string line = TrackItemText(copy, track);
    SendDlgItemMessageA(page, IDC_PROGRAM_ORDER, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    return true;
}

void RemoveProgramEntry(HWND page, PropertiesCopy& copy, int position) {
    if (RemoveProgramAt(copy, position)) SendDlgItemMessageA(page, IDC_PROGRAM_ORDER, LB_DELETESTRING, position, 0);
}

// Both lines of an exchange are written again from the copy, and the moved entry
// stays selected.
void ShowExchange(HWND page, const PropertiesCopy& copy, int first, int selected) {
    ReplaceItem(page, IDC_PROGRAM_ORDER, first, TrackItemText(copy, copy.program[first]));
    ReplaceItem(page, IDC_PROGRAM_ORDER, first + 1, TrackItemText(copy, copy.program[first + 1]));
    SelectItem(page, IDC_PROGRAM_ORDER, selected);
    ShowArrows(page, ArrowsFor(selected, CountProgramEntries(copy)));
}

void MoveProgramEntryUp(HWND page, PropertiesCopy& copy, int position) {
    if (MoveProgramUp(copy, position)) ShowExchange(page, copy, position - 1, position - 1);
}

void MoveProgramEntryDown(HWND page, PropertiesCopy& copy, int position) {
    if (MoveProgramDown(copy, position)) ShowExchange(page, copy, position, position + 1);
}

void Activated(HWND page, PageContext& context) {
    const PropertiesCopy& copy = context.copy;
    FillLists(page, copy);
    EnableControl(page, IDC_PROGRAM_ADD, false);
    EnableControl(page, IDC_PROGRAM_REMOVE, false);
    EnableControl(page, IDC_PROGRAM_CLEAR, !copy.program.empty());
    ShowArrows(page, ArrowStates{});
}

// A data track cannot be added: Add stays disabled for it, and the buttons keep their
// default and focus.
void OnDiscTrackPicked(HWND page) {
    const bool playable = CanProgramTrack(SelectedItem(page, IDC_PROGRAM_DISC_ORDER) + 1);
    EnableControl(page, IDC_PROGRAM_ADD, playable);
    if (playable) MakeDefaultButton(page, IDC_PROGRAM_ADD);
}

// Add, and the double-click in the disc's list: the picked track goes to the end.
bool AddPickedTrack(HWND page, PropertiesCopy& copy) {
    const int picked = SelectedItem(page, IDC_PROGRAM_DISC_ORDER);
    if (picked < 0 || !AddProgramEntry(page, copy, picked + 1)) return false;
    EnableControl(page, IDC_PROGRAM_CLEAR, true);
    return true;
}

void OnEntryPicked(HWND page, const PropertiesCopy& copy) {
    const int picked = SelectedItem(page, IDC_PROGRAM_ORDER);
    if (picked < 0) return;
    EnableControl(page, IDC_PROGRAM_REMOVE, true);
    ShowArrows(page, ArrowsFor(picked, CountProgramEntries(copy)));
    MakeDefaultButton(page, IDC_PROGRAM_REMOVE);
}

void RemovePickedEntry(HWND page, PropertiesCopy& copy) {
    const int picked = SelectedItem(page, IDC_PROGRAM_ORDER);
    if (picked < 0) return;
    RemoveProgramEntry(page, copy, picked);
    EnableControl(page, IDC_PROGRAM_REMOVE, false);
    ShowArrows(page, ArrowStates{});
    EnableControl(page, IDC_PROGRAM_CLEAR, CountProgramEntries(copy) > 0);
}

void OnClear(HWND page, PropertiesCopy& copy) {
    if (!ConfirmWarning(page, "Current program list will be cleared.\nDo you want to continue?",
                        "Clear Confirmation"))
        return;
    while (CountProgramEntries(copy) > 0) RemoveProgramEntry(page, copy, 0);
    for (int id : {IDC_PROGRAM_REMOVE, IDC_PROGRAM_CLEAR, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN})
        EnableControl(page, id, false);
}

bool Command(HWND page, PageContext& context, int id, int code) {
    PropertiesCopy& copy = context.copy;
    switch (id) {
    case IDC_PROGRAM_DISC_ORDER:
        if (code == LBN_SELCHANGE) OnDiscTrackPicked(page);
        else if (code == LBN_DBLCLK && AddPickedTrack(page, copy)) MakeDefaultButton(page, IDC_PROGRAM_ADD);
        return true;
    case IDC_PROGRAM_ORDER:
        if (code == LBN_SELCHANGE) OnEntryPicked(page, copy);
        else if (code == LBN_DBLCLK) RemovePickedEntry(page, copy);
        return true;
    case IDC_PROGRAM_ADD:
        if (code == BN_CLICKED) AddPickedTrack(page, copy);
        return true;
    case IDC_PROGRAM_REMOVE:
        if (code == BN_CLICKED) RemovePickedEntry(page, copy);
        return true;
    case IDC_PROGRAM_UP:
        if (code == BN_CLICKED) MoveProgramEntryUp(page, copy, SelectedItem(page, IDC_PROGRAM_ORDER));
        return true;
    case IDC_PROGRAM_DOWN:
        if (code == BN_CLICKED) MoveProgramEntryDown(page, copy, SelectedItem(page, IDC_PROGRAM_ORDER));
        return true;
    case IDC_PROGRAM_CLEAR:
        if (code == BN_CLICKED) OnClear(page, copy);
        return true;
    default:
        return false;
    }
}

void SetArrowIcon(HWND page, int button, int icon) {
    const HANDLE image = LoadImageA(AppInstance(), MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, LR_SHARED);
    SendDlgItemMessageA(page, button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

void Init(HWND page, PageContext&) {
    SetArrowIcon(page, IDC_PROGRAM_UP, IDI_ARROW_UP);
    SetArrowIcon(page, IDC_PROGRAM_DOWN, IDI_ARROW_DOWN);
}

// New titles show. The selections stay with them, so that the buttons, which keep their
// states, still act on the entries they were enabled for.
void LookupEnded(HWND page, PageContext& context) {
    const int discSelection = SelectedItem(page, IDC_PROGRAM_DISC_ORDER);
    const int orderSelection = SelectedItem(page, IDC_PROGRAM_ORDER);
    FillLists(page, context.copy);
    SendDlgItemMessageA(page, IDC_PROGRAM_DISC_ORDER, LB_SETCURSEL, discSelection, 0);
    SendDlgItemMessageA(page, IDC_PROGRAM_ORDER, LB_SETCURSEL, orderSelection, 0);
}

} // namespace

// Every message is handled under DiscInfoLock; the lists' lines are titled from the
// copy, which the lookup's hand-over may refresh. Every change is in the copy at once,
// so leaving the page stores nothing.
const PageHandlers ProgrammingPage = [] {
    PageHandlers page;
    page.slot = &PropertyPagesRecord::programmingPage;
    page.workEndedMessage = WorkEndedPageMessage;
    page.underLock = true;
    page.init = Init;
    page.activated = Activated;
    page.command = Command;
    page.workEnded = LookupEnded;
    return page;
}();
