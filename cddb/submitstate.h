// The process-wide bookkeeping around the submission thread: its running flag, the
// category the user chose for it, and whom it tells of its end.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/workerowner.h"

struct SubmitRecord {
    // Set by the page before it starts the thread, cleared by the thread as it ends.
    std::atomic<std::int32_t> submitRunning{0};
    // Index into cddbCategoryList chosen in the last accepted submit dialog.
    std::atomic<std::int32_t> submitCategoryIndex{0};
    // The submission threads: the shutdown cancels and joins them before the device
    // closes.
    WorkerOwner workers;
};

SubmitRecord& Submission();

// Tells the active property page that the submission has ended; the property sheet
// installs it (the pages and their slots are its own). Called on the submission thread
// after submitRunning is cleared, without DiscInfoLock. Null: nobody is told.
using SubmitEndNotifier = void (*)();
void SetSubmitEndNotifier(SubmitEndNotifier notifier);
SubmitEndNotifier CurrentSubmitEndNotifier();
