#include "platform/clock.h"

#include <chrono>

MillisecondClock SteadyMilliseconds() {
    return [] {
        return static_cast<std::int64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count());
    };
}
