#include "ui/about/cpuaverage.h"

int CpuUsageAverage::Add(std::int32_t sample) {
    if (firstSample_) {
        for (std::int32_t& slot : cpuSamples_) slot = sample;
        sum_ = std::int64_t{sample} * SampleCount;
        position_ = 0;
        firstSample_ = false;
    } else {
        sum_ += std::int64_t{sample} - cpuSamples_[position_];
        cpuSamples_[position_] = sample;
        position_ = (position_ + 1) % SampleCount;
    }
    return static_cast<int>(sum_ / SampleCount);
}
