// The program's pseudo-random generator: integers from 0 to 32767, as the C runtime's
// rand() gives them. Random play order draws from it.
#pragma once

#include <cstdint>

constexpr int RandomMax = 32767;

void SeedRandom(std::uint32_t seed);
int NextRandom();
