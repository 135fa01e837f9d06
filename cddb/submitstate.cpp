#include "cddb/submitstate.h"

namespace {

// Written by the user-interface thread, read by the submission thread as it ends.
std::atomic<WindowHandle> submitPage{nullptr};
std::atomic<WindowHandle> queryPage{nullptr};

} // namespace

SubmitRecord& Submission() {
    static SubmitRecord record;
    return record;
}

void SetSubmitPageWindow(WindowHandle page) { submitPage = page; }
void SetQueryPageWindow(WindowHandle page) { queryPage = page; }
WindowHandle SubmitPageWindow() { return submitPage; }
WindowHandle QueryPageWindow() { return queryPage; }
