#include "cddb/submitstate.h"

namespace {

std::atomic<SubmitEndNotifier> endNotifier{nullptr};

} // namespace

SubmitRecord& Submission() {
    static SubmitRecord record;
    return record;
}

void SetSubmitEndNotifier(SubmitEndNotifier notifier) { endNotifier = notifier; }
SubmitEndNotifier CurrentSubmitEndNotifier() { return endNotifier; }
