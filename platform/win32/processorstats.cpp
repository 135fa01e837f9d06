#include "platform/win32/processorstats.h"

#include "platform/win32/scoped.h"

namespace {

template <typename Function>
Function Kernel32Function(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return nullptr;
    // Through void*: the declared type differs from the generic one GetProcAddress returns.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

std::uint64_t Ticks(const FILETIME& time) {
    return std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

} // namespace

bool ProcessorStats::Start() {
    getSystemTimes_ = Kernel32Function<GetSystemTimesFunction>("GetSystemTimes");
    snapshot_ = Kernel32Function<SnapshotFunction>("CreateToolhelp32Snapshot");
    firstThread_ = Kernel32Function<ThreadWalkFunction>("Thread32First");
    nextThread_ = Kernel32Function<ThreadWalkFunction>("Thread32Next");
    // From zero, the first figure is the usage since the system started: the figures
    // show at once, with no earlier reading to compare with.
    previous_ = ProcessorTimes{};
    percent_ = 0;
    return true;
}

std::int32_t ProcessorStats::CpuUsage() {
    FILETIME idle, kernel, user;
    if (!getSystemTimes_ || !getSystemTimes_(&idle, &kernel, &user)) return 0;
    const ProcessorTimes now{Ticks(idle), Ticks(kernel), Ticks(user)};
    percent_ = BusyPercent(previous_, now, percent_);
    previous_ = now;
    return percent_;
}

std::int32_t ProcessorStats::ThreadCount() {
    if (!snapshot_ || !firstThread_ || !nextThread_) return 0;
    const ScopedHandle threads(snapshot_(TH32CS_SNAPTHREAD, 0));
    if (!threads) return 0;
    std::int32_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = firstThread_(threads.Get(), &entry); more; more = nextThread_(threads.Get(), &entry)) ++count;
    return count;
}
