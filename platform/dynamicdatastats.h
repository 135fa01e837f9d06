// The dynamic statistics Windows 95 publishes under HKEY_DYN_DATA, read through the
// registry seam. Other systems have no such keys: Start then fails.
#pragma once

#include "platform/registry.h"
#include "platform/systemstats.h"

constexpr RegistryKey RegistryDynData = 0x80000006u;

class DynamicDataStats : public SystemStatsSource {
public:
    ~DynamicDataStats() override;
    // Opens the five PerfStats keys, starts the statistics server, then the processor
    // usage and thread statistics.
    bool Start() override;
    std::int32_t CpuUsage() override;
    std::int32_t ThreadCount() override;
    // Stops the statistics and the server and closes the keys.
    void Stop() override;

private:
    enum Key { StartSrv, StartStat, StopSrv, StopStat, StatData, KeyCount };
    void CloseKeys();

    RegistryKey keys_[KeyCount] = {};
    bool started_ = false;
};
