#include "ui/properties/cddbactions.h"

#include "discinfo/querystatus.h"
#include "cddb/submitstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/lookup.h"
#include "platform/uinotify.h"
#include "ui/properties/query.h"
#include "ui/properties/submit.h"

namespace {

void TellOwnerOfCommit() {
    const DiscInfoRecord& disc = DiscInfo();
    SendWindowMessage(disc.ownerWindow, disc.changedMessage);
}

} // namespace

CddbActionOutcome QueryCddbNow(PropertiesCopy& copy, const std::function<void()>& showStarting) {
    if (DiscInfo().lookupRunning) return CddbActionOutcome::Busy;
    if (!HasQuerySource(copy)) return CddbActionOutcome::MissingSettings;
    {
        // No lookup thread runs (the flag was clear above, and only this thread starts
        // one), so the texts may be committed.
        DiscInfoHold hold;
        ApplyPropertiesCopyTexts();
        ApplyPropertiesCopy();
    }
    TellOwnerOfCommit();
    ClearQueryStatus();
    showStarting();
    return StartDiscLookup() ? CddbActionOutcome::Started : CddbActionOutcome::NotStarted;
}

CddbActionOutcome PrepareSubmission(PropertiesCopy& copy) {
    if (Submission().submitRunning) return CddbActionOutcome::Busy;
    if (!HasSmtpSettings(copy)) return CddbActionOutcome::MissingSettings;
    {
        DiscInfoHold hold;
        ApplyPropertiesCopy();
    }
    TellOwnerOfCommit();
    return CddbActionOutcome::Ready;
}
