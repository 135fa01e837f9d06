#include "cddb/submitthread.h"

#include "log/logmessage.h"
#include "cddb/submit.h"
#include "cddb/submitstate.h"

unsigned SubmitThread() {
    SubmitRecord& record = Submission();
    SubmitEntry(record.submitCategoryIndex);
    record.submitRunning = 0;
    // Told without DiscInfoLock: the page replies before it does its own work.
    if (const SubmitEndNotifier notify = CurrentSubmitEndNotifier()) notify();
    return 1;
}

int StartSubmitThread() {
    SubmitRecord& record = Submission();
    std::int32_t idle = 0;
    if (!record.submitRunning.compare_exchange_strong(idle, 1)) return 0;
    if (!record.workers.Start([] { SubmitThread(); })) {
        // Nobody else would clear the flag, and the button would stay disabled for good.
        record.submitRunning = 0;
        LogMessage("Unable to start the submission thread.");
        return 0;
    }
    return 1;
}

void CancelSubmission() { Submission().workers.Cancel(); }

void JoinSubmission(WorkerOwner::Pump pump) { Submission().workers.Join(pump); }
