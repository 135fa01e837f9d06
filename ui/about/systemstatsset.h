// The one set of live statistics behind the About box: which source gives the figures,
// the processor average, and the texts the box shows.
#pragma once

#include <string>

#include "platform/systemstats.h"
#include "ui/about/cpuaverage.h"

struct SystemFigures {
    std::string cpuUsage;     // "%" and the average processor usage
    std::string threadCount;  // the number of threads
};

std::string FormatCpuUsage(int percent);
std::string FormatThreadCount(int count);

class SystemStatsSet {
public:
    // `preferred` gives the figures where it starts; `fallback` elsewhere.
    SystemStatsSet(SystemStatsSource& preferred, SystemStatsSource& fallback)
        : preferred_(preferred), fallback_(fallback) {}
    ~SystemStatsSet() { Stop(); }
    SystemStatsSet(const SystemStatsSet&) = delete;
    SystemStatsSet& operator=(const SystemStatsSet&) = delete;

    // Starts a source; the next sample fills the average afresh.
    void Start();
    // Reads both figures. Empty texts when not started.
    SystemFigures Sample();
    void Stop();

private:
    SystemStatsSource& preferred_;
    SystemStatsSource& fallback_;
    SystemStatsSource* active_ = nullptr;
    CpuUsageAverage cpuUsage_;
};
