// Milliseconds of a monotonic clock. Sound and the virtual drives measure time against
// one; tests hand in a clock of their own that only they move.
#pragma once

#include <cstdint>
#include <functional>

using MillisecondClock = std::function<std::int64_t()>;

// The steady clock of the machine.
MillisecondClock SteadyMilliseconds();
