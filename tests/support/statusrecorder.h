// Records the progress texts a worker sets, through the listener that a property page
// would install (SetQueryStatusListener, SetSubmitStatusListener). Workers set them
// from their own threads, so the record is locked.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace statusrecord {
inline std::mutex& Mutex() {
    static std::mutex m;
    return m;
}
inline std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    return texts;
}
} // namespace statusrecord

// The listener to install.
inline void RecordStatus(const char* text) {
    std::lock_guard<std::mutex> hold(statusrecord::Mutex());
    statusrecord::Texts().push_back(text);
}

// Every text recorded since the last clearing, in order.
inline std::vector<std::string> RecordedStatuses() {
    std::lock_guard<std::mutex> hold(statusrecord::Mutex());
    return statusrecord::Texts();
}

inline void ClearRecordedStatuses() {
    std::lock_guard<std::mutex> hold(statusrecord::Mutex());
    statusrecord::Texts().clear();
}
