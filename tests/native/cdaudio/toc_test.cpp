#include "cdaudio/toc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// A table as the device would report it: absolute starts in frames, every track's
// length up to the next start and the last one a frame short, plus the lead-out.
std::vector<TrackToc> TableFromFrames(const std::vector<int>& starts, int leadOut, int dataTrack = 0) {
    std::vector<TrackToc> toc(starts.size() + 1, TrackToc{});
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int end = i + 1 < starts.size() ? starts[i + 1] : leadOut - 1;
        const int length = end - starts[i];
        toc[i] = TrackToc{static_cast<int>(i) + 1 == dataTrack ? TrackOther : TrackAudio,
                          static_cast<int>(i) + 1,
                          starts[i] / 4500,
                          starts[i] / 75 % 60,
                          starts[i] % 75,
                          length / 4500,
                          length / 75 % 60,
                          length % 75};
    }
    PlaceLeadOut(toc.data(), static_cast<int>(starts.size()));
    return toc;
}

std::string Hex(std::uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", id);
    return text;
}

} // namespace

TEST(IdentityKey, IsUpperCaseHexOfTheThirtyTwoBitPattern) {
    const struct {
        std::int32_t identity;
        const char* key;
    } cases[] = {{255, "FF"}, {-1, "FFFFFFFF"}, {0, "0"}, {305419896, "12345678"}, {0x7FFFFFFF, "7FFFFFFF"},
                 {static_cast<std::int32_t>(0x80000000u), "80000000"}, {0x2AB1C, "2AB1C"}};
    for (const auto& c : cases) EXPECT_EQ(IdentityKey(c.identity), c.key) << c.identity;
}

TEST(CddbDigitSum, AddsTheDecimalDigits) {
    EXPECT_EQ(CddbDigitSum(0), 0u);
    EXPECT_EQ(CddbDigitSum(2), 2u);
    EXPECT_EQ(CddbDigitSum(1907), 17u);
    EXPECT_EQ(CddbDigitSum(4294967295u), 4u + 2 + 9 + 4 + 9 + 6 + 7 + 2 + 9 + 5);
}

TEST(LeadOut, IsOneFramePastTheLastTracksReportedEnd) {
    // One track at 0:02.00 reported 2:57.74 long.
    std::vector<TrackToc> toc(2, TrackToc{});
    toc[0] = TrackToc{TrackAudio, 1, 0, 2, 0, 2, 57, 74};
    PlaceLeadOut(toc.data(), 1);
    EXPECT_EQ(toc[1].startMinute, 3);
    EXPECT_EQ(toc[1].startSecond, 0);
    EXPECT_EQ(toc[1].startFrame, 0);
    EXPECT_EQ(TrackStartFrames(toc[1]), 13500);
    EXPECT_EQ(DiscLengthSecondsOf(toc.data(), 1), 180);
    EXPECT_EQ(Hex(ComputeDiscIdOf(toc.data(), 1)), "0200b201");

    // Frames that carry into seconds and seconds into minutes.
    toc[0] = TrackToc{TrackAudio, 1, 0, 59, 74, 1, 0, 0};
    PlaceLeadOut(toc.data(), 1);
    EXPECT_EQ(TrackStartFrames(toc[1]), 59 * 75 + 74 + 4500 + 1);
    EXPECT_EQ(toc[1].startMinute, 2);
    EXPECT_EQ(toc[1].startSecond, 0);
    EXPECT_EQ(toc[1].startFrame, 0);
}

TEST(ComputeDiscIdOf, MatchesKnownDiscs) {
    // A real eleven-track disc of 3826 seconds.
    const std::vector<int> eleven = {150, 28615, 51027, 75835, 102620, 121460, 148977, 175697, 204322, 231082, 268002};
    const std::vector<TrackToc> toc = TableFromFrames(eleven, 3826 * 75 + 20);
    EXPECT_EQ(DiscLengthSecondsOf(toc.data(), 11), 3826);
    EXPECT_EQ(Hex(ComputeDiscIdOf(toc.data(), 11)), "920ef00b");

    // A data track counts like any other, first or not.
    const std::vector<TrackToc> dataFirst = TableFromFrames(eleven, 3826 * 75 + 20, 1);
    EXPECT_EQ(ComputeDiscIdOf(dataFirst.data(), 11), ComputeDiscIdOf(toc.data(), 11));

    // Leading zeros are kept when printed: a short disc with few digits.
    const std::vector<TrackToc> small = TableFromFrames({0}, 76);
    EXPECT_EQ(Hex(ComputeDiscIdOf(small.data(), 1)), "00000101");
}

TEST(ComputeDiscIdOf, NoTableGivesZero) {
    EXPECT_EQ(ComputeDiscIdOf(nullptr, 3), 0u);
    TrackToc leadOutOnly{};
    EXPECT_EQ(ComputeDiscIdOf(&leadOutOnly, 0), 0u);
    EXPECT_EQ(DiscLengthSecondsOf(&leadOutOnly, 0), 0);
}
