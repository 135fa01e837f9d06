#include "cddb/querystatus.h"

#include <cstring>
#include <mutex>

namespace {

// queryStatusText with the lock that lets the lookup thread write it while the
// user-interface thread reads it.
struct QueryStatusStore {
    std::mutex mutex;
    char queryStatusText[QueryStatusSize] = {};
    QueryStatusListener listener = nullptr;
};

QueryStatusStore& Store() {
    static QueryStatusStore store;
    return store;
}

} // namespace

void SetQueryStatus(const char* text) {
    QueryStatusStore& store = Store();
    QueryStatusListener listener;
    char copy[QueryStatusSize];
    {
        std::lock_guard<std::mutex> hold(store.mutex);
        std::strncpy(store.queryStatusText, text ? text : "", QueryStatusSize - 1);
        store.queryStatusText[QueryStatusSize - 1] = '\0';
        std::memcpy(copy, store.queryStatusText, sizeof copy);
        listener = store.listener;
    }
    // Told outside the store's lock: a listener that sets a control waits for the
    // user-interface thread, which may be reading the text at that moment.
    if (listener) listener(copy);
}

std::string QueryStatusText() {
    QueryStatusStore& store = Store();
    std::lock_guard<std::mutex> hold(store.mutex);
    return store.queryStatusText;
}

void ClearQueryStatus() {
    QueryStatusStore& store = Store();
    std::lock_guard<std::mutex> hold(store.mutex);
    store.queryStatusText[0] = '\0';
}

QueryStatusListener SetQueryStatusListener(QueryStatusListener listener) {
    QueryStatusStore& store = Store();
    std::lock_guard<std::mutex> hold(store.mutex);
    QueryStatusListener before = store.listener;
    store.listener = listener;
    return before;
}
