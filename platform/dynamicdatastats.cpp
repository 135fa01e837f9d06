#include "platform/dynamicdatastats.h"

namespace {

const char* const KeyPaths[] = {"PerfStats\\StartSrv", "PerfStats\\StartStat", "PerfStats\\StopSrv",
                                "PerfStats\\StopStat", "PerfStats\\StatData"};
const char* const Server = "KERNEL";
const char* const CpuUsageStat = "KERNEL\\CPUUsage";
const char* const ThreadsStat = "KERNEL\\Threads";

// Reads a 4-byte value. Reading is what starts and stops a statistic, so the start and
// stop keys are read for their effect; a failed read leaves 0.
std::int32_t ReadStat(RegistryKey key, const char* name) {
    unsigned char data[4] = {};
    std::uint32_t size = sizeof data;
    if (Registry().QueryValue(key, name, nullptr, data, &size) != RegistrySuccess) return 0;
    return static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24);
}

} // namespace

DynamicDataStats::~DynamicDataStats() { Stop(); }

bool DynamicDataStats::Start() {
    Stop();
    for (int key = 0; key < KeyCount; ++key) {
        if (Registry().OpenKey(RegistryDynData, KeyPaths[key], RegistryKeyRead, &keys_[key]) != RegistrySuccess) {
            keys_[key] = 0;
            CloseKeys();
            return false;
        }
    }
    ReadStat(keys_[StartSrv], Server);
    ReadStat(keys_[StartStat], CpuUsageStat);
    ReadStat(keys_[StartStat], ThreadsStat);
    started_ = true;
    return true;
}

std::int32_t DynamicDataStats::CpuUsage() { return started_ ? ReadStat(keys_[StatData], CpuUsageStat) : 0; }

std::int32_t DynamicDataStats::ThreadCount() { return started_ ? ReadStat(keys_[StatData], ThreadsStat) : 0; }

void DynamicDataStats::Stop() {
    if (!started_) return;
    started_ = false;
    ReadStat(keys_[StopSrv], Server);
    ReadStat(keys_[StopStat], CpuUsageStat);
    ReadStat(keys_[StopStat], ThreadsStat);
    ReadStat(keys_[StopSrv], Server);
    CloseKeys();
}

void DynamicDataStats::CloseKeys() {
    for (RegistryKey& key : keys_) {
        if (key) Registry().CloseKey(key);
        key = 0;
    }
}
