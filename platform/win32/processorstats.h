// The processor usage and thread count from what the running Windows offers, where the
// Windows 95 dynamic statistics are missing.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include "platform/processortimes.h"
#include "platform/systemstats.h"

// GetSystemTimes (processor times between readings) and a tool-help snapshot (threads).
// Both are looked up at run time, so the program still loads where they are missing;
// a missing one gives 0.
class ProcessorStats : public SystemStatsSource {
public:
    // Always true: the figures read 0 where the system offers nothing.
    bool Start() override;
    std::int32_t CpuUsage() override;
    std::int32_t ThreadCount() override;
    void Stop() override {}

private:
    using GetSystemTimesFunction = BOOL(WINAPI*)(FILETIME*, FILETIME*, FILETIME*);
    using SnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
    using ThreadWalkFunction = BOOL(WINAPI*)(HANDLE, THREADENTRY32*);

    GetSystemTimesFunction getSystemTimes_ = nullptr;
    SnapshotFunction snapshot_ = nullptr;
    ThreadWalkFunction firstThread_ = nullptr;
    ThreadWalkFunction nextThread_ = nullptr;
    ProcessorTimes previous_;
    int percent_ = 0;
};
