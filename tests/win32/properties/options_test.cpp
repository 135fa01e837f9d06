// The Options page inside the real sheet: what it shows, its limits and its commit.
#include <utility>

#include "resources/resource.h"
#include "sheetfixture.h"

namespace {

constexpr int OptionsTab = 4;

int SpinPosition(HWND page, int spin) {
    return LOWORD(SendDlgItemMessageA(page, spin, UDM_GETPOS, 0, 0));
}

void LeaveAndReturn(HWND sheet) {
    ShowTab(sheet, 0);
    ShowTab(sheet, OptionsTab);
}

TEST_F(SheetTest, OptionsPageShowsTheOptionsAndOkCommitsTheEditedOnes) {
    ProgramOptionsRecord& o = ProgramOptions();
    o.StopAtExit = 1;
    o.Shuffle = 1;
    o.IntroPlayStart = 15;
    o.IntroPlayLength = 10;
    o.TimeDisplayMode = 1;
    o.ControlsOnTop = 1;
    RunSheet({[](HWND sheet) {
        ShowTab(sheet, OptionsTab);
        const HWND page = CurrentPage(sheet);
        EXPECT_EQ(ItemText(page, IDC_OPT_VISIBLE_AT_START), "Show at Startup");
        EXPECT_EQ(ItemText(page, IDC_OPT_STOP_AT_EXIT), "Stop CD Player When Exiting Tunova");
        EXPECT_FALSE(Checked(page, IDC_OPT_EJECT_AT_END));
        EXPECT_FALSE(Checked(page, IDC_OPT_EJECT_AT_EXIT));
        EXPECT_TRUE(Checked(page, IDC_OPT_STOP_AT_EXIT));
        EXPECT_TRUE(Checked(page, IDC_OPT_SHUFFLE));
        EXPECT_FALSE(Checked(page, IDC_OPT_REPEAT_ALL));
        EXPECT_FALSE(Checked(page, IDC_OPT_VISIBLE_AT_START));
        EXPECT_TRUE(Checked(page, IDC_OPT_ON_TOP));
        EXPECT_EQ(ItemText(page, IDC_OPT_RESUME_WHERE_STOPPED), "Resume Where Stopped");
        EXPECT_FALSE(Checked(page, IDC_OPT_RESUME_WHERE_STOPPED));
        EXPECT_EQ(ItemText(page, IDC_OPT_DIGITAL_PLAYBACK), "Digital playback");
        EXPECT_TRUE(Checked(page, IDC_OPT_DIGITAL_PLAYBACK)) << "on unless the user turned it off";
        EXPECT_FALSE(Checked(page, IDC_OPT_AT_MIDDLE));
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_START), "15");
        EXPECT_EQ(SpinPosition(page, IDC_OPT_INTRO_START_SPIN), 15);
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_LENGTH), "10");
        EXPECT_TRUE(Checked(page, IDC_OPT_TRACK_REMAINING));

        // Clicking one radio button clears the others; the choice survives a visit elsewhere.
        Click(page, IDC_OPT_DISC_REMAINING);
        Click(page, IDC_OPT_SHUFFLE);
        Click(page, IDC_OPT_REPEAT_ALL);
        Click(page, IDC_OPT_EJECT_AT_END);
        Click(page, IDC_OPT_RESUME_WHERE_STOPPED);
        Click(page, IDC_OPT_DIGITAL_PLAYBACK);
        Type(page, IDC_OPT_INTRO_LENGTH, "1");
        LeaveAndReturn(sheet);
        EXPECT_FALSE(Checked(page, IDC_OPT_TRACK_REMAINING));
        EXPECT_FALSE(Checked(page, IDC_OPT_TRACK_ELAPSED));
        EXPECT_FALSE(Checked(page, IDC_OPT_DISC_ELAPSED));
        EXPECT_TRUE(Checked(page, IDC_OPT_DISC_REMAINING));
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_LENGTH), "2") << "below the spin's lower end: that end";
        Type(page, IDC_OPT_INTRO_LENGTH, "25");
        return PressOk(sheet);
    }});
    EXPECT_EQ(o.TimeDisplayMode, 3);
    EXPECT_EQ(o.Shuffle, 0);
    EXPECT_EQ(o.RepeatAll, 1);
    EXPECT_EQ(o.EjectAtEnd, 1);
    EXPECT_EQ(o.StopAtExit, 1);
    EXPECT_EQ(o.IntroPlayStart, 15);
    EXPECT_EQ(o.IntroPlayLength, 25);
    EXPECT_EQ(o.ControlsOnTop, 1);
    EXPECT_EQ(o.ResumeWhereStopped, 1);
    EXPECT_EQ(o.DigitalPlayback, 0);
}

TEST_F(SheetTest, OptionsPageLimitsTheStartAndAtMiddleOfTrackDisablesIt) {
    ProgramOptionsRecord& o = ProgramOptions();
    o.IntroPlayStart = -1;
    o.IntroPlayLength = 5000;
    RunSheet({[](HWND sheet) {
        ShowTab(sheet, OptionsTab);
        const HWND page = CurrentPage(sheet);
        EXPECT_TRUE(Checked(page, IDC_OPT_AT_MIDDLE));
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_START), "0");
        EXPECT_FALSE(Enabled(page, IDC_OPT_INTRO_START));
        EXPECT_FALSE(Enabled(page, IDC_OPT_INTRO_START_SPIN));
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_LENGTH), "1000") << "the nearest end of the range";

        Click(page, IDC_OPT_AT_MIDDLE);
        EXPECT_TRUE(Enabled(page, IDC_OPT_INTRO_START));
        EXPECT_TRUE(Enabled(page, IDC_OPT_INTRO_START_SPIN));
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_START), "0");
        // Out of range: the nearest end; not a number: the value set before.
        const std::pair<const char*, const char*> starts[] = {
            {"2000", "1000"}, {"ten", "1000"}, {"-5", "0"}, {"15s", "0"}, {"", "0"}};
        for (const auto& [typed, shown] : starts) {
            Type(page, IDC_OPT_INTRO_START, typed);
            LeaveAndReturn(sheet);
            EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_START), shown) << typed;
        }
        // The field shows the value it will store as soon as the focus leaves it.
        SetFocus(GetDlgItem(page, IDC_OPT_INTRO_LENGTH));
        Type(page, IDC_OPT_INTRO_LENGTH, "1");
        SetFocus(GetDlgItem(page, IDC_OPT_SHUFFLE));
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_LENGTH), "2");
        Type(page, IDC_OPT_INTRO_LENGTH, "12s");
        LeaveAndReturn(sheet);
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_LENGTH), "2") << "the value stored before stays";
        Type(page, IDC_OPT_INTRO_LENGTH, "1000");
        Type(page, IDC_OPT_INTRO_START, "15");
        // Checked again, the start stores -1 whatever the field shows; unchecked, it
        // shows the start the copy held when the page was left.
        Click(page, IDC_OPT_AT_MIDDLE);
        EXPECT_FALSE(Enabled(page, IDC_OPT_INTRO_START));
        Click(page, IDC_OPT_AT_MIDDLE);
        EXPECT_EQ(ItemText(page, IDC_OPT_INTRO_START), "0");
        Click(page, IDC_OPT_AT_MIDDLE);
        return PressOk(sheet);
    }});
    EXPECT_EQ(o.IntroPlayStart, -1);
    EXPECT_EQ(o.IntroPlayLength, 1000);
}

TEST_F(SheetTest, OptionsPageChangesAreDroppedByCancel) {
    ProgramOptions().TimeDisplayMode = 2;
    RunSheet({[](HWND sheet) {
        ShowTab(sheet, OptionsTab);
        const HWND page = CurrentPage(sheet);
        EXPECT_TRUE(Checked(page, IDC_OPT_DISC_ELAPSED));
        Click(page, IDC_OPT_TRACK_ELAPSED);
        Click(page, IDC_OPT_ON_TOP);
        return PressCancel(sheet);
    }});
    EXPECT_EQ(ProgramOptions().TimeDisplayMode, 2);
    EXPECT_EQ(ProgramOptions().ControlsOnTop, 0);
}

} // namespace
