// The About box's figures: the ten-sample processor average, the choice of source, the
// Windows 95 dynamic statistics protocol and the processor-times fallback.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/dynamicdatastats.h"
#include "platform/processortimes.h"
#include "ui/about/systemstatsset.h"

namespace {

class ScriptedSource : public SystemStatsSource {
public:
    bool available = true;
    std::int32_t cpu = 0;
    std::int32_t threads = 0;
    int starts = 0;
    int stops = 0;

    bool Start() override {
        ++starts;
        return available;
    }
    std::int32_t CpuUsage() override { return cpu; }
    std::int32_t ThreadCount() override { return threads; }
    void Stop() override { ++stops; }
};

TEST(SystemStatsSet, AveragesTheLastTenSamplesStartingFromAFilledRing) {
    ScriptedSource source, unused;
    SystemStatsSet stats(source, unused);
    stats.Start();
    source.cpu = 40;
    source.threads = 37;
    for (int tick = 0; tick < 3; ++tick) {
        const SystemFigures figures = stats.Sample();
        EXPECT_EQ(figures.cpuUsage, "%40") << "tick " << tick;
        EXPECT_EQ(figures.threadCount, "37");
    }

    source.cpu = 90;
    for (int tick = 1; tick <= 10; ++tick) EXPECT_EQ(stats.Sample().cpuUsage, FormatCpuUsage(40 + 5 * tick));
    EXPECT_EQ(stats.Sample().cpuUsage, "%90");

    // Rounded toward zero: one sample of 99 among nine of 90 averages 90.9.
    source.cpu = 99;
    EXPECT_EQ(stats.Sample().cpuUsage, "%90");

    // Reopened: the first sample fills the ring again.
    stats.Stop();
    stats.Start();
    source.cpu = 7;
    EXPECT_EQ(stats.Sample().cpuUsage, "%7");
}

TEST(SystemStatsSet, UsesTheFallbackOnlyWhereThePreferredSourceCannotStart) {
    ScriptedSource preferred, fallback;
    preferred.threads = 11;
    fallback.threads = 22;
    {
        SystemStatsSet stats(preferred, fallback);
        stats.Start();
        EXPECT_EQ(stats.Sample().threadCount, "11");
        EXPECT_EQ(fallback.starts, 0);
        stats.Stop();
        EXPECT_EQ(preferred.stops, 1);

        preferred.available = false;
        stats.Start();
        EXPECT_EQ(stats.Sample().threadCount, "22");
        EXPECT_EQ(preferred.stops, 1) << "a source that did not start is not stopped";
    }
    EXPECT_EQ(fallback.stops, 1) << "the set stops its source when it goes";

    fallback.available = false;
    SystemStatsSet none(preferred, fallback);
    none.Start();
    EXPECT_EQ(none.Sample().cpuUsage, "");
}

// Records every registry call the dynamic statistics make, as "call path [name]".
class RecordingRegistry : public RegistryApi {
public:
    std::vector<std::string> calls;
    std::map<std::string, std::int32_t> values;  // "key path|value name"
    std::string missingKey;

    long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        calls.push_back(std::string("open ") + path);
        if (parent != RegistryDynData || access != RegistryKeyRead || path == missingKey) return RegistryNotFound;
        paths_.push_back(path);
        *key = paths_.size();
        return RegistrySuccess;
    }
    long QueryValue(RegistryKey key, const char* name, std::uint32_t*, void* data, std::uint32_t* size) override {
        const std::string path = paths_.at(key - 1);
        calls.push_back("read " + path + " " + name);
        if (*size < 4) return RegistryMoreData;
        const std::int32_t value = values[path + "|" + name];
        auto* bytes = static_cast<unsigned char*>(data);
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(static_cast<std::uint32_t>(value) >> (8 * i));
        *size = 4;
        return RegistrySuccess;
    }
    long CloseKey(RegistryKey key) override {
        calls.push_back("close " + paths_.at(key - 1));
        return RegistrySuccess;
    }
    long CreateKey(RegistryKey, const char*, std::uint32_t, RegistryKey*) override { return RegistryAccessDenied; }
    long SetValue(RegistryKey, const char*, std::uint32_t, const void*, std::uint32_t) override {
        return RegistryAccessDenied;
    }
    long DeleteValue(RegistryKey, const char*) override { return RegistryAccessDenied; }
    long DeleteKey(RegistryKey, const char*) override { return RegistryAccessDenied; }

private:
    std::vector<std::string> paths_;
};

class DynamicData : public ::testing::Test {
protected:
    void SetUp() override { InstallRegistry(&registry); }
    void TearDown() override { InstallRegistry(nullptr); }
    RecordingRegistry registry;
};

TEST_F(DynamicData, StartsReadsAndStopsTheStatisticsInTheProtocolsOrder) {
    registry.values["PerfStats\\StatData|KERNEL\\CPUUsage"] = 63;
    registry.values["PerfStats\\StatData|KERNEL\\Threads"] = 0x12345;
    {
        DynamicDataStats stats;
        ASSERT_TRUE(stats.Start());
        EXPECT_EQ(stats.CpuUsage(), 63);
        EXPECT_EQ(stats.ThreadCount(), 0x12345);
        stats.Stop();
    }
    const std::vector<std::string> expected = {
        "open PerfStats\\StartSrv", "open PerfStats\\StartStat", "open PerfStats\\StopSrv",
        "open PerfStats\\StopStat", "open PerfStats\\StatData",
        "read PerfStats\\StartSrv KERNEL", "read PerfStats\\StartStat KERNEL\\CPUUsage",
        "read PerfStats\\StartStat KERNEL\\Threads",
        "read PerfStats\\StatData KERNEL\\CPUUsage", "read PerfStats\\StatData KERNEL\\Threads",
        "read PerfStats\\StopSrv KERNEL", "read PerfStats\\StopStat KERNEL\\CPUUsage",
        "read PerfStats\\StopStat KERNEL\\Threads", "read PerfStats\\StopSrv KERNEL",
        "close PerfStats\\StartSrv", "close PerfStats\\StartStat", "close PerfStats\\StopSrv",
        "close PerfStats\\StopStat", "close PerfStats\\StatData"};
    EXPECT_EQ(registry.calls, expected) << "and a second stop (the destructor) does nothing";
}

TEST_F(DynamicData, FailsWithoutReadingAndClosesWhatItOpenedWhereAKeyIsMissing) {
    registry.missingKey = "PerfStats\\StopStat";
    DynamicDataStats stats;
    EXPECT_FALSE(stats.Start());
    stats.Stop();
    const std::vector<std::string> expected = {
        "open PerfStats\\StartSrv", "open PerfStats\\StartStat", "open PerfStats\\StopSrv",
        "open PerfStats\\StopStat", "close PerfStats\\StartSrv", "close PerfStats\\StartStat",
        "close PerfStats\\StopSrv"};
    EXPECT_EQ(registry.calls, expected);
}

TEST(ProcessorTimes, BusyShareBetweenReadings) {
    const ProcessorTimes boot{};
    // Kernel time includes idle time: 300 of 1000 ticks idle.
    const ProcessorTimes first{300, 600, 400};
    EXPECT_EQ(BusyPercent(boot, first, -1), 70);
    EXPECT_EQ(BusyPercent(first, ProcessorTimes{400, 800, 400}, -1), 50);
    EXPECT_EQ(BusyPercent(first, ProcessorTimes{500, 800, 400}, -1), 0);
    EXPECT_EQ(BusyPercent(first, ProcessorTimes{300, 600, 1400}, -1), 100);
    EXPECT_EQ(BusyPercent(first, first, 42), 42) << "no time passed";
    EXPECT_EQ(BusyPercent(first, boot, 42), 42) << "times went back";
}

} // namespace
