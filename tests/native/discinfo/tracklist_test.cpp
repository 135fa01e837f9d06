#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discinfo/tracklist.h"

namespace {

using Numbers = std::vector<std::int32_t>;

struct ParseCase {
    std::string text;
    std::int32_t capacity;
    Numbers expected;
};

TEST(ParseTrackList, SplitsAtSeparatorsAndStopsAtTheFirstEmptyPiece) {
    const ParseCase cases[] = {
        {"3 1 2", 3, {3, 1, 2}},
        {"3 1 2", 2, {3, 1}},          // at most capacity numbers
        {"", 5, {}},
        {" 1 2", 5, {}},               // leading blank
        {"1  2 3", 5, {1}},            // double blank
        {"1 2 ", 5, {1, 2}},           // trailing blank
        {"4\t5\n6", 5, {4, 5, 6}},     // control characters separate
        {"4\r\n5", 5, {4}},            // a line end is two of them
        {"7\x80" "8\xff" "9", 5, {7, 8, 9}},  // so do bytes of 128 and above
        {"12x 3", 5, {12, 3}},         // digits up to the first other byte
        {"abc 3", 5, {0, 3}},
        {"-2 +5", 5, {-2, 5}},
        {"4294967297", 1, {1}},        // 32-bit wrap-around
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseTrackList(c.text.c_str(), c.capacity), c.expected) << c.text;
}

TEST(StoredProgram, DropsTheNaturalOrderAndTracksTheDiscDoesNotHave) {
    const struct {
        Numbers stored;
        std::int32_t trackCount;
        Numbers expected;
    } cases[] = {
        {{1, 2, 3}, 3, {}},
        {{3, 1, 2}, 3, {3, 1, 2}},
        {{1, 2}, 3, {1, 2}},            // shorter than the disc: a real program
        {{1, 2, 3, 3}, 3, {1, 2, 3, 3}},
        {{2, 0, 4, -1, 3}, 3, {2, 3}},  // no track 0, 4 or -1 on a three-track disc
        {{1, 2, 3, 4}, 3, {}},          // what remains is the natural order
        {{9, 9}, 3, {}},
        {{}, 3, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(StoredProgram(c.stored, c.trackCount), c.expected);
}

} // namespace
