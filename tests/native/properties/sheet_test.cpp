// The sheet's commit rules and whom the workers' end notices reach.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "propertiesfixture.h"
#include "ui/properties/sheetcommit.h"
#include "tests/support/messagerecorder.h"

namespace {

WindowHandle Window(int n) { return reinterpret_cast<WindowHandle>(static_cast<std::intptr_t>(n)); }

class SheetCommitTest : public PropertiesTest {
protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        DiscInfo().program = {2};
        ProgramOptionsRecord& o = ProgramOptions();
        o.Shuffle = 1;
        o.cddbProxyPort = 80;
        OpenPropertiesCopy();
        ASSERT_NE(DiscInfo().propertiesCopy, nullptr);
    }

    // The user's edits on every page.
    void EditEverything() {
        PropertiesCopy& c = Copy();
        c.artist = "New Artist";
        c.trackTitles[1] = "Two";
        c.program = {3, 3, 1};
        c.programChanged = 1;
        c.cddbProxyPort = 8080;
        c.EjectAtEnd = 1;
        c.EjectAtExit = 1;
        c.StopAtExit = 0;
        c.Shuffle = 0;
        c.IntroPlayStart = -1;
        c.IntroPlayLength = 25;
        c.TimeDisplayMode = 3;
        c.RepeatAll = 1;
        c.ControlsVisibleAtStart = 1;
        c.ControlsOnTop = 1;
    }
};

TEST_F(SheetCommitTest, OkCommitsTextsProgramAndTheTenPlayOptionsAndReturnsProgramChanged) {
    ProgramOptions().ControlsX = 77;  // not one of the page's options
    EditEverything();
    PropertyPages().sheetAccepted = 1;
    EXPECT_EQ(ClosePropertiesCopy(), 1);

    const DiscInfoRecord& disc = DiscInfo();
    EXPECT_EQ(disc.propertiesCopy, nullptr);
    EXPECT_EQ(disc.artist, "New Artist");
    EXPECT_EQ(disc.title, "Old Title");
    EXPECT_EQ(disc.trackTitles[1], std::optional<std::string>("Two"));
    EXPECT_EQ(disc.program, (std::vector<std::int32_t>{3, 3, 1}));
    const ProgramOptionsRecord& o = ProgramOptions();
    EXPECT_EQ(o.cddbProxyPort, 8080);
    EXPECT_EQ(o.EjectAtEnd, 1);
    EXPECT_EQ(o.EjectAtExit, 1);
    EXPECT_EQ(o.StopAtExit, 0);
    EXPECT_EQ(o.Shuffle, 0);
    EXPECT_EQ(o.IntroPlayStart, -1);
    EXPECT_EQ(o.IntroPlayLength, 25);
    EXPECT_EQ(o.TimeDisplayMode, 3);
    EXPECT_EQ(o.RepeatAll, 1);
    EXPECT_EQ(o.ControlsVisibleAtStart, 1);
    EXPECT_EQ(o.ControlsOnTop, 1);
    EXPECT_EQ(o.ControlsX, 77);
}

TEST_F(SheetCommitTest, OkWhileALookupRunsDropsTheDiscTextsButCommitsTheRest) {
    EditEverything();
    DiscInfo().lookupRunning = true;
    PropertyPages().sheetAccepted = 1;
    EXPECT_EQ(ClosePropertiesCopy(), 1);
    DiscInfo().lookupRunning = false;
    EXPECT_EQ(DiscInfo().artist, "Old Artist");
    EXPECT_FALSE(DiscInfo().trackTitles[1].has_value());
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3, 3, 1}));
    EXPECT_EQ(ProgramOptions().cddbProxyPort, 8080);
    EXPECT_EQ(ProgramOptions().TimeDisplayMode, 3);
}

TEST_F(SheetCommitTest, OkWithAnEmptiedProgramLeavesNoProgramAndKeepsMenuTogglesTheSheetLeftAlone) {
    Copy().program.clear();
    Copy().programChanged = 1;
    // Menu toggles while the sheet was open: OK does not undo them...
    ProgramOptions().Shuffle = 0;
    ProgramOptions().RepeatAll = 1;
    // ...unless the sheet changed that option too: then the sheet's value is taken.
    ProgramOptions().TimeDisplayMode = 2;
    Copy().TimeDisplayMode = 1;
    PropertyPages().sheetAccepted = 1;
    EXPECT_EQ(ClosePropertiesCopy(), 1);
    EXPECT_TRUE(DiscInfo().program.empty());
    EXPECT_EQ(ProgramOptions().Shuffle, 0);
    EXPECT_EQ(ProgramOptions().RepeatAll, 1);
    EXPECT_EQ(ProgramOptions().TimeDisplayMode, 1);
}

TEST_F(SheetCommitTest, OkWithoutProgramChangesReturnsZero) {
    PropertyPages().sheetAccepted = 1;
    EXPECT_EQ(ClosePropertiesCopy(), 0);
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{2}));
}

TEST_F(SheetCommitTest, CancelDropsTheCopyAndCommitsNothing) {
    EditEverything();
    ProgramOptions().Shuffle = 0;  // the menu's change stays after Cancel
    EXPECT_EQ(ClosePropertiesCopy(), 0);
    EXPECT_EQ(DiscInfo().propertiesCopy, nullptr);
    EXPECT_EQ(DiscInfo().artist, "Old Artist");
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{2}));
    EXPECT_EQ(ProgramOptions().Shuffle, 0);
    EXPECT_EQ(ProgramOptions().cddbProxyPort, 80);
    EXPECT_EQ(ProgramOptions().TimeDisplayMode, 0);
}

TEST_F(SheetCommitTest, OpeningClearsTheAcceptedFlagOfTheLastSheet) {
    PropertyPages().sheetAccepted = 1;
    EXPECT_EQ(ClosePropertiesCopy(), 0);
    OpenPropertiesCopy();
    EXPECT_EQ(PropertyPages().sheetAccepted, 0);
    EXPECT_EQ(Copy().programChanged, 0);
    EXPECT_EQ(ClosePropertiesCopy(), 0);
}

TEST(PageNotices, LookupEndReachesTheCdInformationPageFirstThenTheFirstActiveOther) {
    PageNotice n = ChooseLookupEndNotice(Window(1), Window(2), Window(3), Window(4));
    EXPECT_EQ(n.window, Window(1));
    EXPECT_EQ(n.message, LookupEndedCdInfoMessage);
    n = ChooseLookupEndNotice(nullptr, Window(2), Window(3), nullptr);
    EXPECT_EQ(n.window, Window(2));
    EXPECT_EQ(n.message, WorkEndedPageMessage);
    n = ChooseLookupEndNotice(nullptr, nullptr, Window(3), Window(4));
    EXPECT_EQ(n.window, Window(3));
    n = ChooseLookupEndNotice(nullptr, nullptr, nullptr, Window(4));
    EXPECT_EQ(n.window, Window(4));
    EXPECT_EQ(n.message, WorkEndedPageMessage);
    EXPECT_EQ(ChooseLookupEndNotice(nullptr, nullptr, nullptr, nullptr).window, nullptr);
}

TEST(PageNotices, SubmitEndReachesTheSubmitPageElseTheQueryPage) {
    EXPECT_EQ(ChooseSubmitEndNotice(Window(4), Window(3)).window, Window(4));
    const PageNotice n = ChooseSubmitEndNotice(nullptr, Window(3));
    EXPECT_EQ(n.window, Window(3));
    EXPECT_EQ(n.message, WorkEndedPageMessage);
    EXPECT_EQ(ChooseSubmitEndNotice(nullptr, nullptr).window, nullptr);
}

TEST_F(PropertiesTest, TheLookupsEndTellsTheRecordedPageThenTheMainWindowKeepingTheOtherHooks) {
    MessageRecorder<> sender;
    InstallWindowMessageSender(&sender);
    static bool searched = false;
    SetDiscLookupHooks(DiscLookupHooks{[] { searched = true; }, nullptr, nullptr});
    InstallPropertyPageNotifier();
    ASSERT_NE(GetDiscLookupHooks().search, nullptr);
    DiscInfo().ownerWindow = Window(9);
    DiscInfo().changedMessage = 0x8001;
    PropertyPages().programmingPage = Window(2);
    PropertyPages().queryPage = Window(3);

    DiscInfo().lookupRunning = true;
    FinishDiscLookup();
    ASSERT_EQ(sender.All().size(), 2u);
    EXPECT_EQ(sender.All()[0].window, Window(2));
    EXPECT_EQ(sender.All()[0].message, WorkEndedPageMessage);
    EXPECT_EQ(sender.All()[1].window, Window(9));

    sender.Clear();
    ClearActivePages();
    FinishDiscLookup();
    ASSERT_EQ(sender.All().size(), 1u) << "no page is active: only the main window hears of it";
    GetDiscLookupHooks().search();
    EXPECT_TRUE(searched);
}

} // namespace
