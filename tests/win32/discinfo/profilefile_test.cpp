// The native INI reader answers as the system's profile functions do, for the kinds
// of lines Cdplayer.ini holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/inireader.h"
#include "platform/profilefile.h"

namespace {

TEST(ProfileFile, NativeReaderMatchesTheSystem) {
    char directory[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof directory, directory), 0u);
    const std::string path = std::string(directory) + "tunova_profile_test.ini";
    std::ofstream(path, std::ios::binary) << "; comment\r\n"
                                             "[3A5B1C02]\r\n"
                                             "artist=New Artist\r\n"
                                             "  title =  Spaced Title  \r\n"
                                             "0=\"Quoted\"\r\n"
                                             "numplay=4\r\n"
                                             "order=3 2 1 0\r\n"
                                             "[other]\r\n"
                                             "artist=Elsewhere\r\n";
    ProfileFileApi& system = ProfileFile();
    IniFileReader native("");
    const struct {
        const char* section;
        const char* key;
        const char* defaultText;
        DWORD size;
    } queries[] = {
        {"3A5B1C02", "artist", "", 256},  {"3a5b1c02", "TITLE", "", 256}, {"3A5B1C02", "0", "", 256},
        {"3A5B1C02", "1", "", 256},       {"3A5B1C02", "numplay", "0", 256}, {"3A5B1C02", "order", "", 5},
        {"missing", "artist", "", 256},  {"other", "artist", "", 256},  {"3A5B1C02", "order", "", 14},
    };
    for (const auto& q : queries) {
        char expected[256];
        char actual[256];
        const std::uint32_t expectedCount =
            system.GetString(q.section, q.key, q.defaultText, expected, q.size, path.c_str());
        const std::uint32_t actualCount =
            native.GetString(q.section, q.key, q.defaultText, actual, q.size, path.c_str());
        EXPECT_EQ(actualCount, expectedCount) << q.section << " " << q.key;
        EXPECT_STREQ(actual, expected) << q.section << " " << q.key;
    }
    std::remove(path.c_str());
}

} // namespace
