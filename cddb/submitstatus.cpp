#include "cddb/submitstatus.h"

#include <cstring>
#include <mutex>

namespace {

// submitStatusText with the lock that lets the submission thread write it while the
// user-interface thread reads it.
struct SubmitStatusStore {
    std::mutex mutex;
    char submitStatusText[SubmitStatusSize] = {};
    SubmitStatusListener listener = nullptr;
};

SubmitStatusStore& Store() {
    static SubmitStatusStore store;
    return store;
}

} // namespace

void SetSubmitStatus(const char* text) {
    SubmitStatusStore& store = Store();
    SubmitStatusListener listener;
    char copy[SubmitStatusSize];
    {
        std::lock_guard<std::mutex> hold(store.mutex);
        std::strncpy(store.submitStatusText, text ? text : "", SubmitStatusSize - 1);
        store.submitStatusText[SubmitStatusSize - 1] = '\0';
        std::memcpy(copy, store.submitStatusText, sizeof copy);
        listener = store.listener;
    }
    // Told outside the store's lock: a listener that sets a control waits for the
    // user-interface thread, which may be reading the text at that moment.
    if (listener) listener(copy);
}

std::string SubmitStatusText() {
    SubmitStatusStore& store = Store();
    std::lock_guard<std::mutex> hold(store.mutex);
    return store.submitStatusText;
}

void ClearSubmitStatus() {
    SubmitStatusStore& store = Store();
    std::lock_guard<std::mutex> hold(store.mutex);
    store.submitStatusText[0] = '\0';
}

SubmitStatusListener SetSubmitStatusListener(SubmitStatusListener listener) {
    SubmitStatusStore& store = Store();
    std::lock_guard<std::mutex> hold(store.mutex);
    SubmitStatusListener before = store.listener;
    store.listener = listener;
    return before;
}
