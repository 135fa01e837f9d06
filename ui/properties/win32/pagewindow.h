// What every page of the property sheet shares: the notifications' answers and the
// small control helpers the pages' procedures are built from.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/win32/windowtext.h"
#include "ui/properties/pages.h"

struct PropertiesCopy;
struct PageContext;

// What one page does. What every page shares is done by PageProc: it keeps the page's
// context in DWLP_USER, names the page in its slot while it is the active page, answers
// the sheet's notifications, marks the sheet accepted on OK, and frees a worker that
// tells of its end before anything else. Null handlers are left out.
struct PageHandlers {
    // The page's slot in PropertyPages() while it is active; null when no worker tells
    // the page anything.
    std::atomic<WindowHandle> PropertyPagesRecord::*slot = nullptr;
    // The notice a worker's end sends the page; 0 for none.
    unsigned workEndedMessage = 0;
    // The page handles every message under DiscInfoLock: it shows texts the lookup's
    // hand-over refreshes in the copy.
    bool underLock = false;
    void (*init)(HWND page, PageContext& context) = nullptr;
    // The page has become active and its slot names it: the copy is shown. The slot
    // comes first, so that a worker that ends meanwhile tells this page of it.
    void (*activated)(HWND page, PageContext& context) = nullptr;
    // The page is left: its fields are stored in the copy.
    void (*store)(HWND page, PageContext& context) = nullptr;
    // Just before the slot is cleared (the page is left or destroyed while active).
    void (*released)(HWND page) = nullptr;
    // WM_COMMAND; true when handled.
    bool (*command)(HWND page, PageContext& context, int id, int code) = nullptr;
    void (*workEnded)(HWND page, PageContext& context) = nullptr;
};

// A page's state for the life of the sheet, given in PROPSHEETPAGE.lParam.
struct PageContext {
    PropertiesCopy& copy;
    const PageHandlers& handlers;
    // Set by the CD Information page while it puts a title into the Name field itself,
    // so that only the user's typing is stored.
    bool suppressNameChange = false;
};

// The dialog procedure of every page.
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The pages, in the sheet's tab order.
extern const PageHandlers CdInfoPage;
extern const PageHandlers ProgrammingPage;
extern const PageHandlers QueryPage;
extern const PageHandlers SubmitPage;
extern const PageHandlers OptionsPage;

// The submit dialog, owned by the page: true when the user accepts the submission (its
// category is then submitCategoryIndex).
bool AskSubmitEntry(HWND page);

// The whole text of a control, as UTF-8.
std::string ControlText(HWND page, int id);
void EnableControl(HWND page, int id, bool enable);
bool IsChecked(HWND page, int id);
void SetChecked(HWND page, int id, bool checked);

// The list box's lines replaced.
template <class Lines>
void FillList(HWND page, int id, const Lines& lines) {
    const HWND list = GetDlgItem(page, id);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) AddListLine(list, line);
}
int SelectedItem(HWND page, int id);
void SelectItem(HWND page, int id, int index);
void ReplaceItem(HWND page, int id, int index, const std::string& text);

// Asks a Yes/No question owned by the page, No the default; true for Yes.
bool ConfirmWarning(HWND page, const std::string& text, const std::string& caption);
