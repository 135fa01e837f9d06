// The disc lookup thread's start and its final hand-over. The cddb client supplies
// what the thread does in between (local copy, server, match choice) through hooks, so
// that the start and end rules live in one place.
#pragma once

#include "platform/workerowner.h"

struct DiscLookupHooks {
    // The lookup itself, run on the lookup thread; fills DiscInfo under DiscInfoLock.
    // Null: the thread goes straight to its hand-over.
    void (*search)() = nullptr;
    // Tells the active property page that the lookup has ended (0xA710 to the CD
    // Information page, else 0xA711 to the first other page that is active). Called
    // without DiscInfoLock, after lookupRunning is cleared, before the main window.
    void (*notifyPage)() = nullptr;
    // Ends a pending match choice (0xA712 to the open dialog) and returns once it has
    // been handled. Called by FinishDiscInfo on the user-interface thread.
    void (*closeChoice)() = nullptr;
};

// Installs the hooks; call before StartDiscInfo. Null pointers leave that step out.
void SetDiscLookupHooks(const DiscLookupHooks& hooks);
const DiscLookupHooks& GetDiscLookupHooks();

// Sets lookupRunning and starts the lookup thread, unless one already runs. Returns 1
// when a thread was started, 0 otherwise (then lookupRunning is as it was before, or
// clear again when the thread could not be created).
int StartDiscLookup();

// The shutdown's first steps, on the user-interface thread: end a pending match choice
// and cancel the lookup (its conversation fails at once), then wait for its hand-over
// to end, handling through pump the messages it sends meanwhile.
void CancelDiscLookup();
void JoinDiscLookup(WorkerOwner::Pump pump);

// The hand-over that ends every lookup: copy the texts into an open PropertiesCopy
// under the lock, clear lookupRunning, tell the page, then send changedMessage to
// ownerWindow. Never holds DiscInfoLock while it sends. Runs on the lookup thread.
void FinishDiscLookup();
