// MusicBrainz serves each client at most one request a second and answers more with
// 503. The gate holds the whole program to that: every request to it takes a turn here
// first, whichever lookup makes it.
#pragma once

#include <chrono>
#include <mutex>

class RequestGate {
public:
    explicit RequestGate(std::chrono::milliseconds spacing) : spacing_(spacing) {}

    // Waits until the spacing has passed since the last turn began, then takes the
    // turn. false, without a turn, when the calling worker was cancelled meanwhile.
    bool TakeTurn();

private:
    std::mutex mutex_;
    std::chrono::milliseconds spacing_;
    bool taken_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// The program's one gate to MusicBrainz, a second between turns.
RequestGate& MusicBrainzGate();
