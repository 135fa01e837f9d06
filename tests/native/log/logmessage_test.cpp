#include "log/logmessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(FormatLogLine, EachKindHasItsFormat) {
    const int n = 2;
    EXPECT_EQ(FormatLogLine("Number of CD-ROM's in system: ", &n, LogInt), "Number of CD-ROM's in system:  2");
    const std::uint32_t hex = 0x2A;
    EXPECT_EQ(FormatLogLine("Disc id:", &hex, LogHex), "Disc id: 0000002a");
    const std::uint32_t big = 0x920ef00b;
    EXPECT_EQ(FormatLogLine("id", &big, LogHex), "id 920ef00b");
    const float f = 1.5f;
    EXPECT_EQ(FormatLogLine("Volume:", &f, LogFloat), "Volume: 1.500000");
    EXPECT_EQ(FormatLogLine("Drive: ", "E:", LogString), "Drive:  E:");
    const int negative = -3;
    EXPECT_EQ(FormatLogLine("Result: ", &negative, LogInt), "Result:  -3");
    EXPECT_EQ(FormatLogLine("Starting general initialization.", nullptr, LogNone),
              "Starting general initialization.");
    // A kind without a value is the text alone.
    EXPECT_EQ(FormatLogLine("Alone", nullptr, LogInt), "Alone");
}

TEST(FormatLogLine, CutsAt256Characters) {
    const std::string text(300, 'a');
    EXPECT_EQ(FormatLogLine(text.c_str(), nullptr, LogNone), std::string(256, 'a'));
    // The cut applies to the formatted line, value included.
    const std::string text250(250, 'b');
    EXPECT_EQ(FormatLogLine(text250.c_str(), "0123456789", LogString),
              text250 + " 01234");
}
