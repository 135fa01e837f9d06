#include "app/random.h"

#include <atomic>

namespace {
// The classic runtime's linear congruence; only the 15-bit range matters to callers.
std::atomic<std::uint32_t> randomState{1};
} // namespace

void SeedRandom(std::uint32_t seed) { randomState = seed; }

int NextRandom() {
    std::uint32_t next = randomState.load() * 214013u + 2531011u;
    randomState = next;
    return static_cast<int>((next >> 16) & 0x7fff);
}
