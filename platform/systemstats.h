// Live figures of the whole system, as the About box shows them: the processor usage in
// percent and the number of threads.
#pragma once

#include <cstdint>

class SystemStatsSource {
public:
    virtual ~SystemStatsSource() = default;
    // Prepares the figures. False when this system does not offer them; nothing is then
    // left to stop.
    virtual bool Start() = 0;
    // The processor usage in percent now (or over the time since the previous call).
    virtual std::int32_t CpuUsage() = 0;
    virtual std::int32_t ThreadCount() = 0;
    // Ends what Start began.
    virtual void Stop() = 0;
};
