// Processor usage from the system's cumulative processor times (as GetSystemTimes gives
// them: kernel time includes idle time).
#pragma once

#include <cstdint>

struct ProcessorTimes {
    std::uint64_t idle = 0;
    std::uint64_t kernel = 0;
    std::uint64_t user = 0;
};

// The busy share in percent (0 to 100) between two readings; from all-zero times, the
// share since the system started. When no time has passed (or the clock went back),
// unchanged: the result is `previous`.
int BusyPercent(const ProcessorTimes& from, const ProcessorTimes& to, int previous);
