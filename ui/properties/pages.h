// The property sheet's process-wide bookkeeping: which page is active (so that worker
// threads can tell it that their work has ended) and whether OK closed the sheet.
#pragma once

#include <atomic>

#include "platform/uinotify.h"
#include "resources/messageids.h"

// Each slot holds its page's window while that page is the active page of an open
// sheet. The user-interface thread writes them; worker threads read them.
struct PropertyPagesRecord {
    std::atomic<WindowHandle> cdInfoPage{nullptr};
    std::atomic<WindowHandle> programmingPage{nullptr};
    std::atomic<WindowHandle> queryPage{nullptr};
    std::atomic<WindowHandle> submitPage{nullptr};
    // Set by every page that receives OK; cleared just before the sheet is shown.
    int sheetAccepted = 0;
};

PropertyPagesRecord& PropertyPages();

// Empties the four slots (the sheet has closed, whichever way).
void ClearActivePages();

// Whom a worker's end reaches and with which message; no window: nobody.
struct PageNotice {
    WindowHandle window = nullptr;
    unsigned message = 0;
};

// A lookup's end: 0xA710 to the CD Information page, else 0xA711 to the first active of
// the Programming, cddb Query and cddb Submit pages.
PageNotice ChooseLookupEndNotice(WindowHandle cdInfo, WindowHandle programming, WindowHandle query,
                                 WindowHandle submit);
// A submission's end: 0xA711 to the cddb Submit page, else to the cddb Query page.
PageNotice ChooseSubmitEndNotice(WindowHandle submit, WindowHandle query);

// Send the notices above to the pages now recorded as active. Called by worker threads
// without DiscInfoLock.
void NotifyPageOfLookupEnd();
void NotifyPageOfSubmitEnd();

// Makes NotifyPageOfLookupEnd the lookup's page notice (keeping its other hooks) and
// NotifyPageOfSubmitEnd the submission's. Call before the first worker starts.
void InstallPropertyPageNotifier();
