// The About box's processor figure: the average of the last ten samples (five seconds at
// two a second). The first sample stands for all ten, so the figure shows at once.
#pragma once

#include <cstdint>

class CpuUsageAverage {
public:
    static constexpr int SampleCount = 10;

    // The next sample starts afresh.
    void Restart() { firstSample_ = true; }
    // Adds a sample in percent and returns the average (rounded toward zero).
    int Add(std::int32_t sample);

private:
    std::int32_t cpuSamples_[SampleCount] = {};
    int position_ = 0;
    // Wider than a sample: ten arbitrary samples cannot overflow it.
    std::int64_t sum_ = 0;
    bool firstSample_ = true;
};
