#include "musicbrainz/requestgate.h"

#include <algorithm>
#include <thread>

#include "platform/workerowner.h"

bool RequestGate::TakeTurn() {
    // Held while waiting: a second request waits behind the first for its own turn.
    std::lock_guard<std::mutex> hold(mutex_);
    if (taken_) {
        const auto due = last_ + spacing_;
        // In short slices, so that a cancelled worker stops waiting within a moment.
        for (auto now = std::chrono::steady_clock::now(); now < due; now = std::chrono::steady_clock::now()) {
            if (WorkerCancelled()) return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - now);
            std::this_thread::sleep_for(std::min(left + std::chrono::milliseconds(1), std::chrono::milliseconds(50)));
        }
    }
    if (WorkerCancelled()) return false;
    taken_ = true;
    last_ = std::chrono::steady_clock::now();
    return true;
}

RequestGate& MusicBrainzGate() {
    static RequestGate gate(std::chrono::milliseconds(1000));
    return gate;
}
