// The submission thread: one mail exchange, then the end notification that lets the
// cddb pages enable their buttons again.
#pragma once

#include "platform/workerowner.h"

// The thread procedure: SubmitEntry with submitCategoryIndex, then clears submitRunning
// and sends 0xA711 to the cddb Submit page if it is active, else to the cddb Query page
// if that one is. Returns 1.
unsigned SubmitThread();

// What the page does to start a submission: sets submitRunning and starts the thread
// unless a submission already runs. 1 when a thread was started, 0 otherwise (then
// submitRunning is as it was, or clear again when no thread could be created).
int StartSubmitThread();

// At shutdown, on the user-interface thread: cancel a running submission (its
// conversation fails at once), then wait for it to end, handling through pump the
// messages it sends meanwhile.
void CancelSubmission();
void JoinSubmission(WorkerOwner::Pump pump);
