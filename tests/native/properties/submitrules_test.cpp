// The cddb Submit page's store and fill rules and the submit dialog's rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "propertiesfixture.h"
#include "ui/properties/sheetcommit.h"
#include "ui/properties/submit.h"

namespace {

class SubmitRulesTest : public PropertiesTest {
protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        ProgramOptions().smtpReturnAddress = "me@example.org";
        ProgramOptions().smtpServerName = "mail.example.org";
        OpenPropertiesCopy();
    }
};

TEST_F(SubmitRulesTest, ThePageShowsAndStoresTheSmtpFieldsCutToWhatTheCopyKeeps) {
    const SubmitPageValues shown = SubmitPageFromCopy(Copy());
    EXPECT_EQ(shown.returnAddress, "me@example.org");
    EXPECT_EQ(shown.serverName, "mail.example.org");
    StoreSubmitPage(SubmitPageValues{std::string(50, 'r'), "smtp.example"}, Copy());
    EXPECT_EQ(Copy().smtpReturnAddress, std::string(39, 'r'));
    EXPECT_EQ(Copy().smtpServerName, "smtp.example");
    EXPECT_EQ(ProgramOptions().smtpServerName, "mail.example.org") << "only the copy changes";
}

TEST_F(SubmitRulesTest, ASubmissionNeedsBothSmtpFields) {
    EXPECT_TRUE(HasSmtpSettings(Copy()));
    StoreSubmitPage(SubmitPageValues{"me@example.org", ""}, Copy());
    EXPECT_FALSE(HasSmtpSettings(Copy()));
    StoreSubmitPage(SubmitPageValues{"", "mail.example.org"}, Copy());
    EXPECT_FALSE(HasSmtpSettings(Copy()));
}

TEST(SubmitCategoriesTest, TheDialogListsEachEntrysDescription) {
    EXPECT_EQ(CategoryLines({"rock - Rock and Pop", "classical - Classical Music", "misc"}),
              (std::vector<std::string>{"Rock and Pop", "Classical Music", "misc"}));
    EXPECT_EQ(CategoryDescription("new-age - New Age"), "New Age") << "after the first \" - \"";
    EXPECT_EQ(CategoryDescription("rock - Rock - Hard"), "Rock - Hard");
    EXPECT_EQ(CategoryDescription("data -"), "data -") << "no description: the entry whole";
    EXPECT_EQ(CategoryDescription("data - "), "data - ");
    EXPECT_TRUE(CategoryLines({}).empty());
}

TEST(SubmitCategoriesTest, TheLastAcceptedCategoryIsPreselected) {
    EXPECT_EQ(PreselectedCategory(2, 5), 2);
    EXPECT_EQ(PreselectedCategory(0, 5), 0);
    EXPECT_EQ(PreselectedCategory(5, 5), 0) << "not in the list";
    EXPECT_EQ(PreselectedCategory(-1, 5), 0);
    EXPECT_EQ(PreselectedCategory(0, 0), -1);
}

TEST_F(SubmitRulesTest, TheDiscIsCompleteWithArtistTitleAndEveryTrackTitled) {
    DiscInfoRecord& disc = DiscInfo();
    EXPECT_FALSE(DiscInfoComplete(disc, 3)) << "track 2 has no title";
    disc.trackTitles[1] = "Two";
    EXPECT_TRUE(DiscInfoComplete(disc, 3));
    disc.trackTitles[2] = "";
    EXPECT_FALSE(DiscInfoComplete(disc, 3)) << "an empty title";
    disc.trackTitles[2] = "Three";
    EXPECT_FALSE(DiscInfoComplete(disc, 4)) << "a track beyond the titles";
    disc.artist.clear();
    EXPECT_FALSE(DiscInfoComplete(disc, 3));
    disc.artist = "A";
    disc.title.clear();
    EXPECT_FALSE(DiscInfoComplete(disc, 3));
}

} // namespace
