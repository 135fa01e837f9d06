// The modal property sheet around the working copy.
#include <windows.h>
#include <commctrl.h>

#include <iterator>

#include "platform/win32/shellhandles.h"
#include "resources/resource.h"
#include "ui/properties/pages.h"
#include "ui/properties/properties.h"
#include "ui/properties/sheetcommit.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

constexpr const char* SheetCaption = "Tunova Properties";

struct PageTemplate {
    int dialog;
    DLGPROC procedure;
};

// Tab order.
constexpr PageTemplate SheetPages[] = {
    {IDD_CD_INFORMATION, CdInfoPageProc},
    {IDD_PROGRAMMING, ProgrammingPageProc},
    {IDD_CDDB_QUERY, QueryPageProc},
    {IDD_CDDB_SUBMIT, SubmitPageProc},
    {IDD_OPTIONS, OptionsPageProc},
};

} // namespace

int ShowProperties() {
    OpenPropertiesCopy();

    PROPSHEETPAGEA pages[std::size(SheetPages)] = {};
    for (size_t i = 0; i < std::size(SheetPages); ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DEFAULT;  // the tab's title is the template's caption
        pages[i].hInstance = AppInstance();
        pages[i].pszTemplate = MAKEINTRESOURCEA(SheetPages[i].dialog);
        pages[i].pfnDlgProc = SheetPages[i].procedure;
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USEICONID;
    header.hwndParent = nullptr;  // the player's other windows stay usable
    header.hInstance = AppInstance();
    header.pszIcon = MAKEINTRESOURCEA(IDI_DISC_NOTE);
    header.pszCaption = SheetCaption;
    header.nPages = static_cast<UINT>(std::size(pages));
    header.nStartPage = 0;
    header.ppsp = pages;
    PropertySheetA(&header);

    // Cancel deactivates no page: its slot would name a window that no longer exists.
    ClearActivePages();
    return ClosePropertiesCopy();
}
