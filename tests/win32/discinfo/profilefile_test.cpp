// The native INI reader answers as the system's profile functions do, for the kinds
// of lines Cdplayer.ini holds, letters of the ANSI code page included.
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
                                             "1=Caf\xE9 \x93\xFA\x96\x7B\r\n"
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
        std::size_t characters;
    } queries[] = {
        {"3A5B1C02", "artist", "", 255},  {"3a5b1c02", "TITLE", "", 255}, {"3A5B1C02", "0", "", 255},
        {"3A5B1C02", "1", "", 255},       {"3A5B1C02", "2", "", 255},      {"3A5B1C02", "numplay", "0", 255},
        {"3A5B1C02", "order", "", 4},     {"missing", "artist", "", 255}, {"other", "artist", "", 255},
        {"3A5B1C02", "order", "", 13},    {"3A5B1C02", "1", "", 5},
    };
    for (const auto& q : queries) {
        EXPECT_EQ(native.GetString(q.section, q.key, q.defaultText, q.characters, path),
                  system.GetString(q.section, q.key, q.defaultText, q.characters, path))
            << q.section << " " << q.key;
    }
    std::remove(path.c_str());
}

} // namespace
