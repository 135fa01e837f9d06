#include "discinfo/querystatus.h"

#include "discinfo/workerstatus.h"

namespace {

// queryStatusText, written by the lookup thread and read by the cddb Query page.
WorkerStatus& QueryStatus() {
    static WorkerStatus status;
    return status;
}

} // namespace

static_assert(QueryStatusSize == WorkerStatus::Size, "the status buffers are 80 bytes");

void SetQueryStatus(const char* text) { QueryStatus().Set(text); }
std::string QueryStatusText() { return QueryStatus().Text(); }
void ClearQueryStatus() { QueryStatus().Clear(); }
QueryStatusListener SetQueryStatusListener(QueryStatusListener listener) { return QueryStatus().SetListener(listener); }
