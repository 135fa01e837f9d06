#include "discinfo/submitstatus.h"

#include "discinfo/workerstatus.h"

namespace {

// submitStatusText, written by the submission thread and read by the cddb Submit page.
WorkerStatus& SubmitStatus() {
    static WorkerStatus status;
    return status;
}

} // namespace

static_assert(SubmitStatusSize == WorkerStatus::Size, "the status buffers are 80 bytes");

void SetSubmitStatus(const char* text) { SubmitStatus().Set(text); }
std::string SubmitStatusText() { return SubmitStatus().Text(); }
void ClearSubmitStatus() { SubmitStatus().Clear(); }
SubmitStatusListener SetSubmitStatusListener(SubmitStatusListener listener) {
    return SubmitStatus().SetListener(listener);
}
