#include "ui/about/systemstatsset.h"

#include <cstdio>

std::string FormatCpuUsage(int percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%%%d", percent);
    return text;
}

std::string FormatThreadCount(int count) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", count);
    return text;
}

void SystemStatsSet::Start() {
    Stop();
    cpuUsage_.Restart();
    if (preferred_.Start()) {
        active_ = &preferred_;
    } else if (fallback_.Start()) {
        active_ = &fallback_;
    }
}

SystemFigures SystemStatsSet::Sample() {
    if (!active_) return {};
    SystemFigures figures;
    figures.cpuUsage = FormatCpuUsage(cpuUsage_.Add(active_->CpuUsage()));
    figures.threadCount = FormatThreadCount(active_->ThreadCount());
    return figures;
}

void SystemStatsSet::Stop() {
    if (active_) active_->Stop();
    active_ = nullptr;
}
