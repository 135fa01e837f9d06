#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "discfixture.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"

namespace {

using Titles = std::vector<std::optional<std::string>>;

class PropertiesCopyTest : public DiscInfoTest {
protected:
    void SetUp() override {
        DiscInfoTest::SetUp();
        PrepareEmptyRecord();
        DiscInfo().artist = "Artist";
        DiscInfo().title = "Title";
        DiscInfo().trackTitles = {"One", std::nullopt, "Three"};
        DiscInfo().program = {3, 1};
        ProgramOptionsRecord& o = ProgramOptions();
        o.cddbQueryLocal = 1;
        o.cddbRootDirectory = "C:\\cddb";
        o.cddbServerNum = 2;
        o.cddbProxyPort = 3128;
        o.cddbProxyName = std::string(79, 'p');
        o.smtpReturnAddress = "me@example.net";
        o.Shuffle = 1;
        o.IntroPlayStart = -1;
        o.ControlsOnTop = 1;
        DiscInfoHold hold;
        DiscInfo().propertiesCopy = CreatePropertiesCopy();
    }
    PropertiesCopy& Copy() { return *DiscInfo().propertiesCopy; }
};

TEST_F(PropertiesCopyTest, CopyHoldsTheRecordAndTheEditableOptions) {
    const PropertiesCopy& copy = Copy();
    EXPECT_EQ(copy.artist, "Artist");
    EXPECT_EQ(copy.title, "Title");
    ASSERT_EQ(copy.trackTitles.size(), 3u);
    EXPECT_EQ(copy.trackTitles[0], "One");
    EXPECT_EQ(copy.trackTitles[1], "");
    EXPECT_EQ(copy.program, (std::vector<std::int32_t>{3, 1}));
    EXPECT_EQ(copy.programChanged, 0);
    EXPECT_EQ(copy.cddbQueryLocal, 1);
    EXPECT_EQ(copy.cddbRootDirectory, "C:\\cddb");
    EXPECT_EQ(copy.cddbServerNum, 2);
    EXPECT_EQ(copy.cddbProxyPort, 3128);
    // 79 characters do not fit a field 40 wide: cut to 39.
    EXPECT_EQ(copy.cddbProxyName, std::string(39, 'p'));
    EXPECT_EQ(copy.smtpReturnAddress, "me@example.net");
    EXPECT_EQ(copy.Shuffle, 1);
    EXPECT_EQ(copy.IntroPlayStart, -1);
    EXPECT_EQ(copy.StopAtExit, 1);
    EXPECT_EQ(copy.IntroPlayLength, 10);
    EXPECT_EQ(copy.ControlsOnTop, 1);
}

TEST_F(PropertiesCopyTest, ApplyCommitsTextsAndSettingsButNotOrderOrPlayOptions) {
    PropertiesCopy& copy = Copy();
    copy.artist = "New artist";
    copy.trackTitles[0] = "";
    copy.trackTitles[1] = "Two";
    copy.program = {2};
    copy.Shuffle = 0;
    copy.cddbQueryLocal = 0;
    copy.smtpServerName = "mail.example.net";
    {
        DiscInfoHold hold;
        ApplyPropertiesCopy();
    }
    EXPECT_EQ(DiscInfo().artist, "New artist");
    // An emptied title becomes no title.
    EXPECT_EQ(DiscInfo().trackTitles, (Titles{std::nullopt, "Two", "Three"}));
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3, 1}));
    EXPECT_EQ(ProgramOptions().Shuffle, 1);
    EXPECT_EQ(ProgramOptions().cddbQueryLocal, 0);
    EXPECT_EQ(ProgramOptions().smtpServerName, "mail.example.net");
    // The long proxy name the user left alone keeps its full length.
    EXPECT_EQ(ProgramOptions().cddbProxyName, std::string(79, 'p'));
}

TEST_F(PropertiesCopyTest, ShortFieldsCountLettersAndKeepTheUntouchedOptionWhole) {
    // "Musik/Ελληνικά/" and more Greek: 79 letters, 151 bytes.
    std::string greek = "Musik/\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC/";
    while (greek.size() < 150) greek += "\xCE\xB1";
    ProgramOptions().smtpServerName = greek;
    DiscInfoHold hold;
    FreePropertiesCopy();
    DiscInfo().propertiesCopy = CreatePropertiesCopy();
    EXPECT_EQ(Copy().smtpServerName, greek.substr(0, 6 + 8 * 2 + 1 + 24 * 2)) << "39 letters, none cut in half";
    ApplyPropertiesCopy();
    EXPECT_EQ(ProgramOptions().smtpServerName, greek);
}

TEST_F(PropertiesCopyTest, EditedShortTextReplacesTheLongOption) {
    Copy().cddbProxyName = "proxy.example.net";
    ApplyPropertiesCopy();
    EXPECT_EQ(ProgramOptions().cddbProxyName, "proxy.example.net");
}

TEST_F(PropertiesCopyTest, RunningLookupKeepsItsTextsAndTheSettingsStillApply) {
    DiscInfo().lookupRunning = true;
    DiscInfo().artist = "From the lookup";
    PropertiesCopy& copy = Copy();
    copy.artist = "Typed";
    copy.trackTitles[2] = "";
    copy.cddbUseProxy = 1;
    copy.cddbServerNum = 0;
    ApplyPropertiesCopy();
    EXPECT_EQ(DiscInfo().artist, "From the lookup");
    EXPECT_EQ(DiscInfo().trackTitles, (Titles{"One", std::nullopt, "Three"}));
    EXPECT_EQ(ProgramOptions().cddbUseProxy, 1);
    EXPECT_EQ(ProgramOptions().cddbServerNum, 0);
}

TEST_F(PropertiesCopyTest, RefreshShowsTheRecordInTheOpenCopy) {
    PropertiesCopy& copy = Copy();
    copy.title = "Edited";
    copy.program = {1, 2, 1};
    DiscInfo().trackTitles = {std::nullopt, "Found", "Three"};
    RefreshPropertiesCopyTexts();
    EXPECT_EQ(copy.title, "Title");
    EXPECT_EQ(copy.trackTitles[0], "");
    EXPECT_EQ(copy.trackTitles[1], "Found");
    // The order the user built stays as built.
    EXPECT_EQ(copy.program, (std::vector<std::int32_t>{1, 2, 1}));
}

} // namespace
