// What "Query cddb Now" and "Submit New Entry Now" do once their page has stored its
// fields in the working copy; the pages only show the outcome.
#pragma once

#include <functional>

struct PropertiesCopy;

enum class CddbActionOutcome {
    Busy,            // a lookup (or submission) already runs: nothing was done
    MissingSettings, // the copy lacks what the action needs: nothing was committed
    Ready,           // committed; the submission waits for the user's category
    Started,         // committed and the lookup thread started
    NotStarted,      // committed, but no thread could be started
};

// "Query cddb Now". A query needs a source. The texts typed on the CD Information page
// are committed with the settings before the lookup starts: its hand-over copies the
// record back into the copy, and a query that finds nothing must not take them away
// (a found entry replaces them, as the user asked). The main window hears of the
// commit, and the query status is emptied for the new lookup. showStarting runs last
// before the thread starts (the page empties its status field and disables its button),
// so that nothing it does can come after the lookup's first status or its end.
CddbActionOutcome QueryCddbNow(PropertiesCopy& copy, const std::function<void()>& showStarting);

// "Submit New Entry Now" up to the submit dialog. A submission needs the return address
// and the SMTP server. The entry is built from what the user sees, so the pages' texts
// and settings are committed (the texts not while a lookup runs) and the main window
// hears of it.
CddbActionOutcome PrepareSubmission(PropertiesCopy& copy);
