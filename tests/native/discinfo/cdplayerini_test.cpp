#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "discfixture.h"
#include "discinfo/cdplayerini.h"
#include "discinfo/discinfo.h"
#include "platform/inireader.h"

namespace {

using Titles = std::vector<std::optional<std::string>>;
using Numbers = std::vector<std::int32_t>;

class CdplayerIniTest : public DiscInfoTest {
protected:
    void SetUp() override {
        DiscInfoTest::SetUp();
        InsertDiscOfTracks(4);
        PrepareEmptyRecord();
        InstallProfileFile(&reader);
    }
    void TearDown() override {
        std::remove(iniPath.c_str());
        DiscInfoTest::TearDown();
    }
    void WriteIni(const std::string& text) {
        std::ofstream(iniPath, std::ios::binary) << text;
    }
    std::string directory = ::testing::TempDir();
    std::string iniPath = directory + "/Cdplayer.ini";
    IniFileReader reader{directory};
};

TEST_F(CdplayerIniTest, PlaceholdersCountAsNothing) {
    WriteIni("[3A5B1C02]\r\nartist=New Artist\r\ntitle=New Title\r\nnumtracks=4\r\n");
    EXPECT_EQ(ImportCdplayerIni(), 0);
    EXPECT_EQ(DiscInfo().artist, "");
    EXPECT_EQ(DiscInfo().title, "");
    EXPECT_EQ(DiscInfo().trackTitles, Titles(4));
    EXPECT_EQ(LogText(),
              "Checking cdplayer.ini for current CD:  3A5B1C02\r\n"
              "Current CD not found in cdplayer.ini:  3A5B1C02\r\n");
}

TEST_F(CdplayerIniTest, TracksCountFromZero) {
    WriteIni("[Other]\r\nartist=Wrong\r\n"
             "[3a5b1c02]\r\n"
             "artist=Trio\r\n"
             "0=First\r\n"
             "3=Fourth\r\n"
             "4=Beyond the disc\r\n");
    EXPECT_EQ(ImportCdplayerIni(), 1);
    EXPECT_EQ(DiscInfo().artist, "Trio");
    EXPECT_EQ(DiscInfo().title, "");
    EXPECT_EQ(DiscInfo().trackTitles, (Titles{"First", std::nullopt, std::nullopt, "Fourth"}));
    EXPECT_EQ(LogText(),
              "Checking cdplayer.ini for current CD:  3A5B1C02\r\n"
              "Found current CD in cdplayer.ini:  3A5B1C02\r\n");
}

// The file is in the ANSI code page (here the stand-in Western page); the record holds
// its letters in UTF-8, as many letters as the file's texts may have.
TEST_F(CdplayerIniTest, TextsInTheAnsiPageBecomeUtf8) {
    WriteIni("[3A5B1C02]\r\nartist=Mot\xF6rhead \x96 Caf\xE9\r\n0=" + std::string(300, '\xE9') + "\r\n");
    EXPECT_EQ(ImportCdplayerIni(), 1);
    EXPECT_EQ(DiscInfo().artist, "Mot\xC3\xB6rhead \xE2\x80\x93 Caf\xC3\xA9");
    std::string letters;
    for (int i = 0; i < 255; ++i) letters += "\xC3\xA9";
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>(letters));
}

TEST_F(CdplayerIniTest, OnlyEmptyFieldsAreFilled) {
    WriteIni("[3A5B1C02]\r\nartist=File artist\r\ntitle=File title\r\n1=File track\r\nnumplay=2\r\norder=1 0\r\n");
    DiscInfo().artist = "Known";
    DiscInfo().trackTitles[1] = "Known track";
    DiscInfo().program = {4};
    EXPECT_EQ(ImportCdplayerIni(), 1);
    EXPECT_EQ(DiscInfo().artist, "Known");
    EXPECT_EQ(DiscInfo().title, "File title");
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>("Known track"));
    EXPECT_EQ(DiscInfo().program, Numbers{4});
}

TEST_F(CdplayerIniTest, OrdersBecomeOneBasedPrograms) {
    const struct {
        const char* what;
        const char* lines;
        Numbers expected;
    } cases[] = {
        {"reverse", "numplay=4\r\norder=3 2 1 0\r\n", {4, 3, 2, 1}},
        {"natural", "numplay=4\r\norder=0 1 2 3\r\n", {}},
        {"fewer than numplay", "numplay=4\r\norder=2 0\r\n", {3, 1}},
        {"cut to numplay", "numplay=2\r\norder=3 2 1 0\r\n", {4, 3}},
        {"tracks the disc lacks", "numplay=4\r\norder=7 1 -1 -2\r\n", {2}},
        {"numplay not a number", "numplay=many\r\norder=3 2\r\n", {}},
        {"numplay zero", "numplay=0\r\norder=3 2\r\n", {}},
        {"no order", "numplay=3\r\n", {}},
        {"huge numplay", "numplay=2147483647\r\norder=1 0\r\n", {2, 1}},
    };
    for (const auto& c : cases) {
        WriteIni(std::string("[3A5B1C02]\r\n") + c.lines);
        PrepareEmptyRecord();
        // An order alone does not count as knowing the disc, so the lookup still runs.
        EXPECT_EQ(ImportCdplayerIni(), 0) << c.what;
        EXPECT_EQ(DiscInfo().program, c.expected) << c.what;
    }
}

TEST_F(CdplayerIniTest, MissingFileFindsNothing) {
    EXPECT_EQ(ImportCdplayerIni(), 0);
    EXPECT_TRUE(DiscInfo().program.empty());
}

} // namespace
