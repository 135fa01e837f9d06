#include "discinfo/lookup.h"

#include <system_error>
#include <thread>

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
    disc.lookupRunning = true;
    try {
        // The thread is not kept: it ends on its own after its hand-over.
        std::thread(LookupThread).detach();
    } catch (const std::system_error&) {
        // Without a thread nobody would ever clear the flag and the pages would wait
        // for the lookup forever.
        disc.lookupRunning = false;
        LogMessage("Unable to start the cddb lookup thread.");
        return 0;
    }
    return 1;
}

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
