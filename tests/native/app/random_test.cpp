#include "app/random.h"

#include <gtest/gtest.h>

#include <set>

TEST(Random, StaysInFifteenBitsAndRepeatsForASeed) {
    SeedRandom(12345);
    std::set<int> seen;
    int first[8];
    for (int i = 0; i < 10000; ++i) {
        const int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RandomMax);
        if (i < 8) first[i] = r;
        seen.insert(r);
    }
    EXPECT_GT(seen.size(), 7000u); // spread over the range, not stuck
    SeedRandom(12345);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(NextRandom(), first[i]);
}
