#include "app/commandline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* line;
    bool diagnostics;
    const char* drive;
};

TEST(ParseCommandLine, ReadsSwitchAndLeadingDrive) {
    const Case cases[] = {
        {"", false, ""},
        {"-d", true, ""},
        {"E:\\", false, "E:"},
        {"E:", false, ""},
        {"E:/", false, ""},
        {"x:\\music", false, "x:"},
        {"E:\\ -d", true, "E:"},
        {"-d E:\\", true, ""},
        {"7:\\", false, "7:"},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.diagnostics, c.diagnostics) << "\"" << c.line << "\"";
        EXPECT_EQ(std::string(parsed.drive), c.drive) << "\"" << c.line << "\"";
    }
}

TEST(ParseCommandLine, NullIsEmpty) {
    const CommandLine parsed = ParseCommandLine(nullptr);
    EXPECT_FALSE(parsed.diagnostics);
    EXPECT_EQ(std::string(parsed.drive), "");
}

} // namespace
