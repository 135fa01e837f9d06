// The store and fill rules of the CD Information, Programming and Options pages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "propertiesfixture.h"
#include "ui/properties/cdinfo.h"
#include "ui/properties/options.h"
#include "resources/controlids.h"
#include "ui/properties/programming.h"
#include "ui/properties/sheetcommit.h"
#include "ui/properties/trackitems.h"

namespace {

class PageRulesTest : public PropertiesTest {
protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        OpenPropertiesCopy();
    }
};

TEST_F(PageRulesTest, TrackItemsShowNumberLengthAndTitleOfTheCopy) {
    EXPECT_EQ(DiscTrackItems(Copy()),
              (std::vector<std::string>{"1) 3:05 - One", "2) 12:59 - ", "3) 4:07 - Blue Water"}));
    Copy().trackTitles[0] = "Changed";
    EXPECT_EQ(TrackItemText(Copy(), 1), "1) 3:05 - Changed");
    EXPECT_EQ(TrackItemText(Copy(), 7), "7) 0:00 - ") << "a program entry beyond the disc";
    CdDevice().trackCount = 0;
    EXPECT_TRUE(DiscTrackItems(Copy()).empty());
}

TEST_F(PageRulesTest, NameChangesStoreTheTypedTitleAndEnterMovesOnWithoutStoring) {
    NameChange c = DecideNameChange("Red", 1, 3);
    EXPECT_EQ(c.kind, NameChange::Store);
    EXPECT_EQ(c.track, 1);
    StoreTrackTitle(Copy(), c.track, "Red");
    EXPECT_EQ(Copy().trackTitles[1], "Red");

    c = DecideNameChange("Red\r\n", 1, 3);
    EXPECT_EQ(c.kind, NameChange::MoveOn);
    EXPECT_EQ(c.track, 2);
    c = DecideNameChange("pasted\nline", 2, 3);
    EXPECT_EQ(c.kind, NameChange::MoveOn);
    EXPECT_EQ(c.track, 0) << "from the last track to the first";
    EXPECT_EQ(DecideNameChange("x", -1, 0).kind, NameChange::Ignore) << "no tracks, nothing stored";
}

TEST_F(PageRulesTest, EditTextsKeepWhatTheRecordKeepsAndClearAllEmptiesOnlyTrackTitles) {
    StoreDiscEditText(Copy().artist, std::string(300, 'a'));
    EXPECT_EQ(Copy().artist, std::string(256, 'a'));
    // A stored title of full length passes through the page whole.
    StoreDiscEditText(Copy().title, std::string(256, 'b'));
    EXPECT_EQ(Copy().title, std::string(256, 'b'));
    EXPECT_FALSE(StoreTrackTitle(Copy(), 0, std::string(256, 't')));
    EXPECT_EQ(Copy().trackTitles[0], std::string(256, 't'));
    EXPECT_TRUE(StoreTrackTitle(Copy(), 0, std::string(257, 'u'))) << "the page is told to show the cut";
    EXPECT_EQ(Copy().trackTitles[0], std::string(256, 'u'));

    Copy().program = {2, 1};
    ClearTrackTitles(Copy());
    for (const std::string& title : Copy().trackTitles) EXPECT_EQ(title, "");
    EXPECT_EQ(Copy().program, (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(DiscTrackItems(Copy())[2], "3) 4:07 - ");
}

TEST_F(PageRulesTest, EditTextsCountLettersNotBytes) {
    std::string japanese;
    for (int i = 0; i < 256; ++i) japanese += "\xE6\x97\xA5"; // 日, three bytes each
    EXPECT_FALSE(StoreTrackTitle(Copy(), 1, japanese)) << "256 letters fit whatever their script";
    EXPECT_EQ(Copy().trackTitles[1], japanese);
    EXPECT_TRUE(StoreTrackTitle(Copy(), 1, japanese + "\xF0\x9F\x8E\xB5"));
    EXPECT_EQ(Copy().trackTitles[1], japanese) << "the 257th letter goes whole, not a byte of it";
}

TEST_F(PageRulesTest, ProgramEditsKeepTheOrderAndMarkItChanged) {
    PropertiesCopy& c = Copy();
    AppendProgramTrack(c, 3);
    AppendProgramTrack(c, 3);
    AppendProgramTrack(c, 1);
    EXPECT_EQ(c.program, (std::vector<std::int32_t>{3, 3, 1}));
    EXPECT_EQ(CountProgramEntries(c), 3);
    EXPECT_EQ(c.programChanged, 1);

    c.programChanged = 0;
    EXPECT_FALSE(MoveProgramUp(c, 0));
    EXPECT_FALSE(MoveProgramDown(c, 2));
    EXPECT_FALSE(RemoveProgramAt(c, 3));
    EXPECT_FALSE(RemoveProgramAt(c, -1));
    EXPECT_EQ(c.programChanged, 0) << "refused edits change nothing";

    EXPECT_TRUE(MoveProgramDown(c, 1));
    EXPECT_EQ(c.program, (std::vector<std::int32_t>{3, 1, 3}));
    EXPECT_TRUE(MoveProgramUp(c, 1));
    EXPECT_EQ(c.program, (std::vector<std::int32_t>{1, 3, 3}));
    EXPECT_TRUE(MoveProgramDown(c, 0));
    EXPECT_EQ(c.program, (std::vector<std::int32_t>{3, 1, 3}));
    EXPECT_EQ(c.programChanged, 1) << "a restored order still counts as changed";

    EXPECT_TRUE(RemoveProgramAt(c, 1));
    EXPECT_EQ(c.program, (std::vector<std::int32_t>{3, 3}));
    EXPECT_TRUE(ClearProgram(c));
    EXPECT_TRUE(c.program.empty());
    c.programChanged = 0;
    EXPECT_FALSE(ClearProgram(c));
    EXPECT_EQ(c.programChanged, 0);
}

TEST(ProgramArrows, UpFromTheSecondEntryDownUpToTheOneBeforeLast) {
    EXPECT_FALSE(ArrowsFor(0, 3).up);
    EXPECT_TRUE(ArrowsFor(0, 3).down);
    EXPECT_TRUE(ArrowsFor(1, 3).up);
    EXPECT_TRUE(ArrowsFor(1, 3).down);
    EXPECT_TRUE(ArrowsFor(2, 3).up);
    EXPECT_FALSE(ArrowsFor(2, 3).down);
    EXPECT_FALSE(ArrowsFor(0, 1).up);
    EXPECT_FALSE(ArrowsFor(0, 1).down);
    EXPECT_FALSE(ArrowsFor(-1, 3).up);
    EXPECT_FALSE(ArrowsFor(-1, 3).down);
}

TEST(SpinValues, NumbersOutOfRangeTakeTheNearestEndAndMistypedTextsKeepTheValue) {
    EXPECT_EQ(ReadSpinValue("15", 0, 1000, 7), 15);
    EXPECT_EQ(ReadSpinValue("  +15", 0, 1000, 7), 15);
    EXPECT_EQ(ReadSpinValue("", 0, 1000, 7), 0);
    EXPECT_EQ(ReadSpinValue("0", 0, 1000, 7), 0);
    EXPECT_EQ(ReadSpinValue("1000", 0, 1000, 7), 1000);
    EXPECT_EQ(ReadSpinValue("2000", 0, 1000, 7), 1000);
    EXPECT_EQ(ReadSpinValue("99999999999999999999", 0, 1000, 7), 1000);
    EXPECT_EQ(ReadSpinValue("-5", 0, 1000, 7), 0);
    EXPECT_EQ(ReadSpinValue("1", 2, 1000, 7), 2);
    EXPECT_EQ(ReadSpinValue("", 2, 1000, 7), 2);
    EXPECT_EQ(ReadSpinValue("10", 2, 1000, 7), 10);
    // Not a number: the value set before stays.
    EXPECT_EQ(ReadSpinValue("abc", 0, 1000, 7), 7);
    EXPECT_EQ(ReadSpinValue("15s", 0, 1000, 7), 7);
    EXPECT_EQ(ReadSpinValue("-", 2, 1000, 10), 10);
    EXPECT_EQ(ReadSpinValue("x", 2, 1000, 5000), 1000) << "a stored value beyond the range is held at its end";
}

TEST_F(PageRulesTest, OptionsPageShowsTheCopyAndStoresItBack) {
    PropertiesCopy& c = Copy();
    c.EjectAtEnd = 1;
    c.StopAtExit = 0;
    c.Shuffle = 1;
    c.ControlsOnTop = 1;
    c.IntroPlayStart = 15;
    c.IntroPlayLength = 5000;
    c.TimeDisplayMode = 1;
    OptionsPageValues page = OptionsPageFromCopy(c);
    EXPECT_TRUE(page.ejectAtEnd);
    EXPECT_FALSE(page.ejectAtExit);
    EXPECT_FALSE(page.stopAtExit);
    EXPECT_TRUE(page.shuffle);
    EXPECT_FALSE(page.repeatAll);
    EXPECT_FALSE(page.visibleAtStart);
    EXPECT_TRUE(page.onTop);
    EXPECT_FALSE(page.atMiddle);
    EXPECT_EQ(page.introStartText, "15");
    EXPECT_EQ(page.introLengthText, "1000") << "the nearest end of the spin's range";
    EXPECT_EQ(page.timeRadio, IDC_OPT_TRACK_REMAINING);

    page.ejectAtExit = true;
    page.shuffle = false;
    page.repeatAll = true;
    page.visibleAtStart = true;
    page.introLengthText = "10";
    page.timeRadio = IDC_OPT_DISC_REMAINING;
    StoreOptionsPage(page, c);
    EXPECT_EQ(c.EjectAtExit, 1);
    EXPECT_EQ(c.Shuffle, 0);
    EXPECT_EQ(c.RepeatAll, 1);
    EXPECT_EQ(c.ControlsVisibleAtStart, 1);
    EXPECT_EQ(c.IntroPlayStart, 15);
    EXPECT_EQ(c.IntroPlayLength, 10);
    EXPECT_EQ(c.TimeDisplayMode, 3);
    EXPECT_EQ(OptionsPageFromCopy(c).timeRadio, IDC_OPT_DISC_REMAINING);

    page.timeRadio = 0;
    page.atMiddle = true;
    page.introStartText = "42";
    StoreOptionsPage(page, c);
    EXPECT_EQ(c.TimeDisplayMode, 3) << "no button checked keeps the mode";
    EXPECT_EQ(c.IntroPlayStart, -1) << "whatever the start field shows";
    c.TimeDisplayMode = 7;
    EXPECT_EQ(OptionsPageFromCopy(c).timeRadio, 0);
}

TEST_F(PageRulesTest, AtMiddleOfTrackShowsZeroAndUncheckingItResetsANegativeStart) {
    PropertiesCopy& c = Copy();
    c.IntroPlayStart = -1;
    const OptionsPageValues page = OptionsPageFromCopy(c);
    EXPECT_TRUE(page.atMiddle);
    EXPECT_EQ(page.introStartText, "0");
    EXPECT_EQ(StartAfterMiddleCleared(c), 0);
    EXPECT_EQ(c.IntroPlayStart, 0);
    c.IntroPlayStart = 30;
    EXPECT_EQ(StartAfterMiddleCleared(c), 30);
}

} // namespace
