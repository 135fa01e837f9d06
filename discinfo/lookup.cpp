#include "discinfo/lookup.h"

#include "log/logmessage.h"
#include "discinfo/discinfo.h"
#include "platform/uinotify.h"

namespace {

// Set once at start-up, before any lookup thread exists.
DiscLookupHooks lookupHooks;

void LookupThread() {
    if (lookupHooks.search) lookupHooks.search();
    FinishDiscLookup();
}

} // namespace

void SetDiscLookupHooks(const DiscLookupHooks& hooks) { lookupHooks = hooks; }
const DiscLookupHooks& GetDiscLookupHooks() { return lookupHooks; }

int StartDiscLookup() {
    DiscInfoRecord& disc = DiscInfo();
    bool idle = false;
    if (!disc.lookupRunning.compare_exchange_strong(idle, true)) return 0;
    if (!disc.lookupWorkers.Start(LookupThread)) {
        // Without a thread nobody would ever clear the flag and the pages would wait
        // for the lookup forever.
        disc.lookupRunning = false;
        LogMessage("Unable to start the cddb lookup thread.");
        return 0;
    }
    return 1;
}

void CancelDiscLookup() {
    if (lookupHooks.closeChoice) lookupHooks.closeChoice();
    DiscInfo().lookupWorkers.Cancel();
}

void JoinDiscLookup(WorkerOwner::Pump pump) { DiscInfo().lookupWorkers.Join(pump); }

void FinishDiscLookup() {
    DiscInfoRecord& disc = DiscInfo();
    {
        DiscInfoHold hold;
        RefreshPropertiesCopyTexts();
    }
    // The lock is free again before anything is sent: the receivers run on the
    // user-interface thread and may wait for it.
    disc.lookupRunning = false;
    if (lookupHooks.notifyPage) lookupHooks.notifyPage();
    SendWindowMessage(disc.ownerWindow, disc.changedMessage);
}
