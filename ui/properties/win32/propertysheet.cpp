// The modal property sheet around the working copy.
#include <windows.h>
#include <commctrl.h>

#include <iterator>

#include "discinfo/discinfo.h"
#include "platform/win32/shellhandles.h"
#include "resources/resource.h"
#include "ui/properties/pages.h"
#include "ui/properties/properties.h"
#include "ui/properties/sheetcommit.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

constexpr const wchar_t* SheetCaption = L"Tunova Properties";

struct PageTemplate {
    int dialog;
    const PageHandlers& handlers;
};

// Tab order.
const PageTemplate SheetPages[] = {
    {IDD_CD_INFORMATION, CdInfoPage},
    {IDD_PROGRAMMING, ProgrammingPage},
    {IDD_CDDB_QUERY, QueryPage},
    {IDD_CDDB_SUBMIT, SubmitPage},
    {IDD_OPTIONS, OptionsPage},
};

} // namespace

int ShowProperties() {
    OpenPropertiesCopy();
    // The pages edit the copy they are given; the lookup's hand-over finds it in the
    // disc record.
    PropertiesCopy& copy = *DiscInfo().propertiesCopy;
    PageContext contexts[] = {
        {copy, SheetPages[0].handlers}, {copy, SheetPages[1].handlers}, {copy, SheetPages[2].handlers},
        {copy, SheetPages[3].handlers}, {copy, SheetPages[4].handlers},
    };
    static_assert(std::size(contexts) == std::size(SheetPages), "one context per page");

    PROPSHEETPAGEW pages[std::size(SheetPages)] = {};
    for (size_t i = 0; i < std::size(SheetPages); ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DEFAULT;  // the tab's title is the template's caption
        pages[i].hInstance = AppInstance();
        pages[i].pszTemplate = MAKEINTRESOURCEW(SheetPages[i].dialog);
        pages[i].pfnDlgProc = PageProc;
        pages[i].lParam = reinterpret_cast<LPARAM>(&contexts[i]);
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USEICONID;
    header.hwndParent = nullptr;  // the player's other windows stay usable
    header.hInstance = AppInstance();
    header.pszIcon = MAKEINTRESOURCEW(IDI_DISC_NOTE);
    header.pszCaption = SheetCaption;
    header.nPages = static_cast<UINT>(std::size(pages));
    header.nStartPage = 0;
    header.ppsp = pages;
    PropertySheetW(&header);

    // Cancel deactivates no page: its slot would name a window that no longer exists.
    ClearActivePages();
    return ClosePropertiesCopy();
}
