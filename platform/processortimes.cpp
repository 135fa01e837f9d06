#include "platform/processortimes.h"

int BusyPercent(const ProcessorTimes& from, const ProcessorTimes& to, int previous) {
    if (to.idle < from.idle || to.kernel < from.kernel || to.user < from.user) return previous;
    const std::uint64_t idle = to.idle - from.idle;
    const std::uint64_t total = (to.kernel - from.kernel) + (to.user - from.user);
    if (total == 0) return previous;
    if (idle >= total) return 0;
    // Rounded to the nearest percent.
    return static_cast<int>(((total - idle) * 100 + total / 2) / total);
}
