// The menus' rules: enabled items, checks and the Select Track texts on sample discs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/menus.h"
#include "app/shellstate.h"
#include "app/startsequence.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/virtualcd/virtualcd.h"

namespace {

std::string SampleDisc(const char* name) {
    std::ifstream in(std::string(TUNOVA_SOURCE_DIR) + "/samples/discs/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MenuRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShell();
        ResetDiscInfo();
        ProgramOptions() = ProgramOptionsRecord();
    }
    void TearDown() override {
        CloseCdDevice();
        ResetDiscInfo();
    }
    void Load(const char* disc) {
        InstallVirtualCdText(SampleDisc(disc));
        ASSERT_EQ(OpenCdDevice("D:"), Stopped);
        PrepareTrackMarks();
        DiscInfo().trackTitles.assign(static_cast<std::size_t>(CdDevice().trackCount), std::nullopt);
    }
};

TEST_F(MenuRulesTest, TrayMenuEnablesFollowThePlayState) {
    struct Case {
        PlayState state;
        TrayMenuEnables expected;
    };
    const Case cases[] = {
        {Playing, {false, true, true, true, true, true}},
        {Paused, {true, true, true, true, false, false}},
        {Stopped, {true, false, false, true, false, false}},
        {Seeking, {false, false, false, false, false, false}},
        {Failed, {false, false, false, false, false, false}},
        {NoDisc, {false, false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        const TrayMenuEnables e = TrayMenuEnablesFor(c.state);
        EXPECT_EQ(e.play, c.expected.play) << c.state;
        EXPECT_EQ(e.pause, c.expected.pause) << c.state;
        EXPECT_EQ(e.stop, c.expected.stop) << c.state;
        EXPECT_EQ(e.eject, c.expected.eject) << c.state;
        EXPECT_EQ(e.nextTrack, c.expected.nextTrack) << c.state;
        EXPECT_EQ(e.previousTrack, c.expected.previousTrack) << c.state;
    }
}

TEST_F(MenuRulesTest, ChecksComeFromOptionsAndShellState) {
    MenuChecks checks = CurrentMenuChecks();
    EXPECT_FALSE(checks.randomOrder || checks.introPlay || checks.repeatAll || checks.repeatCurrent ||
                 checks.showControls);
    EXPECT_FALSE(PanelMenuFollows());
    ProgramOptions().Shuffle = 1;
    Shell().repeatCurrent = true;
    Shell().panelVisible = true;
    checks = CurrentMenuChecks();
    EXPECT_TRUE(checks.randomOrder);
    EXPECT_FALSE(checks.introPlay);
    EXPECT_FALSE(checks.repeatAll);
    EXPECT_TRUE(checks.repeatCurrent);
    EXPECT_TRUE(checks.showControls);
    EXPECT_TRUE(PanelMenuFollows());
    ProgramOptions().Shuffle = 0;
    ProgramOptions().RepeatAll = 1;
    Shell().introPlay = true;
    checks = CurrentMenuChecks();
    EXPECT_FALSE(checks.randomOrder);
    EXPECT_TRUE(checks.introPlay);
    EXPECT_TRUE(checks.repeatAll);
}

TEST_F(MenuRulesTest, AlbumItemsShowNumberAndLength) {
    Load("album.disc");
    EXPECT_EQ(MenuTrackItemCount(), 12);
    EXPECT_FALSE(HasCompleteTrackList());
    EXPECT_EQ(TrackItemText(1), "(1) 4:03");
    EXPECT_EQ(TrackItemText(12), "(12) 3:40");
    EXPECT_EQ(TrackListLine(12), "(12) 3:40");
}

TEST_F(MenuRulesTest, TitlesFollowTheLengthAndAmpersandsStayVisibleInMenus) {
    Load("album.disc");
    DiscInfo().trackTitles[0] = std::string("Rock & Roll");
    DiscInfo().trackTitles[1] = std::string("");
    EXPECT_EQ(TrackItemText(1), "(1) 4:03 - Rock && Roll");
    EXPECT_EQ(TrackListLine(1), "(1) 4:03 - Rock & Roll");
    EXPECT_EQ(TrackItemText(2), "(2) 3:51");
}

TEST_F(MenuRulesTest, DataTrackReadsNoAudioInMenusButKeepsItsLengthInTheList) {
    Load("datatrack5.disc");
    DiscInfo().trackTitles[4] = std::string("Extras");
    EXPECT_EQ(TrackItemText(5), "(5) No Audio");
    EXPECT_EQ(TrackListLine(5), "(5) 5:01 - Extras");
    Shell().currentTrack = 5;
    Shell().trackMarks[4].played = true;
    const TrackItemMarks marks = TrackItemMarksFor(5);
    EXPECT_FALSE(marks.checked);
    EXPECT_TRUE(marks.grey);
}

TEST_F(MenuRulesTest, PlayedTracksAreCheckedAndTheCurrentOneIsGrey) {
    Load("album.disc");
    Shell().trackMarks[0].played = true;
    Shell().trackMarks[1].played = true;
    Shell().currentTrack = 3;
    struct Case {
        int track;
        bool checked, grey;
    };
    for (const Case& c : {Case{1, true, false}, Case{2, true, false}, Case{3, false, true}, Case{4, false, false}}) {
        const TrackItemMarks marks = TrackItemMarksFor(c.track);
        EXPECT_EQ(marks.checked, c.checked) << c.track;
        EXPECT_EQ(marks.grey, c.grey) << c.track;
    }
}

TEST_F(MenuRulesTest, LongDiscHasTwentyItemsAndTheCompleteList) {
    Load("tracks25.disc");
    EXPECT_EQ(MenuTrackItemCount(), 20);
    EXPECT_TRUE(HasCompleteTrackList());
    EXPECT_TRUE(CompleteTrackListAvailable());
    Shell().selectDialogOpen = true;
    EXPECT_FALSE(CompleteTrackListAvailable());
}

TEST_F(MenuRulesTest, ShortDiscHasNoCompleteList) {
    Load("album.disc");
    EXPECT_FALSE(CompleteTrackListAvailable());
}

TEST_F(MenuRulesTest, DialogStartsOnTheCurrentTrackAndReturnsTrackNumbers) {
    Load("tracks25.disc");
    EXPECT_EQ(TrackListInitialLine(), 0);
    Shell().currentTrack = 22;
    EXPECT_EQ(TrackListInitialLine(), 21);
    EXPECT_EQ(TrackFromListLine(21), 22);
    EXPECT_EQ(TrackFromListLine(0), 1);
    EXPECT_EQ(TrackFromListLine(-1), 0); // no selection
}

} // namespace
