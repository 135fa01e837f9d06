// The process-wide bookkeeping around the submission thread: its running flag, the
// category the user chose for it, and the two property pages it may tell of its end.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/uinotify.h"

// The private message that tells the active cddb page a submission (or lookup) ended.
constexpr unsigned SubmitEndedMessage = 0xA711;

struct SubmitRecord {
    // Set by the page before it starts the thread, cleared by the thread as it ends.
    std::atomic<std::int32_t> submitRunning{0};
    // Index into cddbCategoryList chosen in the last accepted submit dialog.
    std::atomic<std::int32_t> submitCategoryIndex{0};
};

SubmitRecord& Submission();

// The active-page slots the submission's end notification looks at. Each page stores
// its window when it becomes active and null when it is left or the sheet closes.
void SetSubmitPageWindow(WindowHandle page);
void SetQueryPageWindow(WindowHandle page);
WindowHandle SubmitPageWindow();
WindowHandle QueryPageWindow();
