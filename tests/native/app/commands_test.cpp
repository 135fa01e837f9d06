#include "app/commands.h"
#include "app/statustext.h"
#include "playerfixture.h"

namespace {

TEST_F(PlayerTest, CommandsThatDoNotApplyChangeNothingButRefresh) {
    LoadDisc(Album(3));
    Start(2);
    RunPlayerCommand(CommandPlay); // play while playing
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().playState, Playing);
    RunPlayerCommand(CommandStop);
    view.events.clear();
    RunPlayerCommand(CommandPause); // pause while stopped
    RunPlayerCommand(CommandNextTrack);
    RunPlayerCommand(CommandPreviousButton);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(view.events, (std::vector<std::string>{"icon", "menus", "buttons", "icon", "menus", "buttons", "icon",
                                                     "menus", "buttons"}));
}

TEST_F(PlayerTest, PauseResumeAndPlayFromStopped) {
    LoadDisc(Album(3));
    Start(2);
    Advance(5000);
    StatusTick();
    RunPlayerCommand(CommandPauseButton);
    EXPECT_EQ(Shell().playState, Paused);
    EXPECT_EQ(view.tip, "Paused (2) 0:05");
    Advance(60000);
    RunPlayerCommand(CommandPause); // resumes where it paused
    EXPECT_EQ(Shell().playState, Playing);
    Advance(2000);
    StatusTick();
    EXPECT_EQ(view.tip, "Playing (2) 0:07");
    RunPlayerCommand(CommandStop);
    RunPlayerCommand(CommandPlayButton);
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_EQ(Shell().playState, Playing);
}

TEST_F(PlayerTest, NextOnTheLastTrackEjectsWhenAskedAndPreviousOnTheFirstStops) {
    LoadDisc(Album(2));
    Start(2);
    ProgramOptions().EjectAtEnd = 1;
    RunPlayerCommand(CommandNextTrack);
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(GetDeviceMode(), NoDisc);
}

TEST_F(PlayerTest, PreviousOnTheFirstTrackStops) {
    LoadDisc(Album(2));
    Start(1);
    RunPlayerCommand(CommandPreviousTrack);
    EXPECT_EQ(Shell().currentTrack, 0);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_FALSE(view.ended);
}

TEST_F(PlayerTest, RandomOrderWhilePausedChangesOnlyTheOption) {
    LoadDisc(Album(3));
    Start(1);
    RunPlayerCommand(CommandPause);
    RunPlayerCommand(CommandRandomOrder);
    EXPECT_EQ(ProgramOptions().Shuffle, 1);
    EXPECT_EQ(Shell().playState, Paused);
    EXPECT_TRUE(toTrackEnd());
}

TEST_F(PlayerTest, SelectTrackItemsGoThroughTheTrackMarks) {
    LoadDisc(Album(25, 60));
    Start(1);
    EXPECT_TRUE(RunPlayerCommand(TrackMenuCommand(20)));
    EXPECT_EQ(Shell().currentTrack, 20);
    EXPECT_TRUE(Shell().trackMarks[0].played);
    EXPECT_EQ(TrackMenuCommand(21), 0);
    EXPECT_FALSE(RunPlayerCommand(CommandLastTrackItem + 1));
    // A disc of three tracks has no item 4.
    CloseCdDevice();
    LoadDisc(Album(3));
    EXPECT_FALSE(RunPlayerCommand(TrackMenuCommand(4)));
}

TEST_F(PlayerTest, IconClicksPauseSkipAndGoBack) {
    LoadDisc(Album(4));
    Start(2);
    // One click: pause once the timer runs out.
    HandleTrayClick(TrayLeftButtonDown);
    EXPECT_TRUE(view.clickTimerRunning);
    TrayClickTimeout();
    EXPECT_EQ(Shell().playState, Paused);
    // While paused one click resumes at once.
    HandleTrayClick(TrayLeftButtonDown);
    EXPECT_EQ(Shell().playState, Playing);
    // A double click: the next track when the timer runs out.
    HandleTrayClick(TrayLeftButtonDown);
    HandleTrayClick(TrayLeftDoubleClick);
    TrayClickTimeout();
    EXPECT_EQ(Shell().currentTrack, 3);
    // Three quick clicks: back a track at once, no pause.
    HandleTrayClick(TrayLeftButtonDown);
    HandleTrayClick(TrayLeftDoubleClick);
    HandleTrayClick(TrayLeftButtonDown);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_FALSE(view.clickTimerRunning);
    EXPECT_EQ(Shell().clickState, ClickIdle);
    // A second click too slow for a double click cancels.
    HandleTrayClick(TrayLeftButtonDown);
    HandleTrayClick(TrayLeftButtonDown);
    EXPECT_FALSE(view.clickTimerRunning);
    EXPECT_EQ(Shell().playState, Playing);
}

// Stop within the click time: the click's pause (or a double click's next track) was
// meant for play that is no longer going, and the drive stays stopped.
TEST_F(PlayerTest, AClickThenStopLeavesTheDriveStopped) {
    LoadDisc(Album(4));
    Start(2);
    HandleTrayClick(TrayLeftButtonDown);
    RunPlayerCommand(CommandStop);
    TrayClickTimeout();
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(view.tip, "Stopped");
    Start(2);
    HandleTrayClick(TrayLeftButtonDown);
    HandleTrayClick(TrayLeftDoubleClick);
    RunPlayerCommand(CommandStop);
    TrayClickTimeout();
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(GetDeviceMode(), Stopped);
}

// A data track chosen in the complete track list cannot play: the music goes on.
TEST_F(PlayerTest, ChoosingADataTrackLeavesTheMusicPlaying) {
    LoadDisc({{'a', 60}, {'d', 60}, {'a', 60}});
    Start(1);
    view.events.clear();
    PlayChosenTrack(2);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_FALSE(Shell().trackMarks[0].played);
    TickFor(2);
    EXPECT_EQ(GetDeviceMode(), Playing);
    EXPECT_EQ(view.tip, "Playing (1) 0:02");
}

TEST_F(PlayerTest, FailedDeviceStateShowsTheErrorAndIgnoresClicks) {
    LoadDisc(Album(2));
    Shell().playState = Failed;
    EXPECT_TRUE(HandleTrayClick(TrayLeftButtonDown));
    EXPECT_EQ(Shell().playState, Failed);
    EXPECT_FALSE(view.clickTimerRunning);
}

TEST_F(PlayerTest, TimeTextsInEveryDisplayMode) {
    LoadDisc({{'a', 240}, {'a', 200}, {'a', 240}, {'a', 100}});
    struct Case {
        int mode, track, minute, second;
        const char* text;
    } cases[] = {
        {0, 3, 1, 5, "(3) 1:05"},
        {1, 3, 1, 5, "(3) 2:55"},
        {2, 1, 1, 5, "1:07"}, // the first track starts at 0:02 on the disc
        {3, 4, 0, 40, "1:00"}, // counted to the lead-out, not the last track's reported length
    };
    for (const Case& c : cases) {
        ProgramOptions().TimeDisplayMode = c.mode;
        EXPECT_EQ(FormatTimeText(c.track, c.minute, c.second), c.text) << "mode " << c.mode;
    }
    ProgramOptions().TimeDisplayMode = 7;
    EXPECT_EQ(FormatTimeText(1, 0, 0), "1:00") << "an unknown mode keeps the text";
    ProgramOptions().TimeDisplayMode = 0;
    EXPECT_EQ(FormatTimeText(5, 0, 0), "1:00") << "a track not on the disc keeps the text";
}

TEST_F(PlayerTest, TipCarriesTheTitleAndIsCutAt63) {
    LoadDisc(Album(3));
    DiscInfo().trackTitles.assign(3, std::nullopt);
    DiscInfo().trackTitles[0] = "A title long enough to push the whole tip text well past its limit";
    Start(1);
    Shell().panelVisible = true;
    ShowStatus(Playing);
    const std::string full = "Playing (1) 0:00 - " + *DiscInfo().trackTitles[0];
    EXPECT_EQ(view.tip, full.substr(0, 63));
    EXPECT_EQ(view.statusLine, "Playing (1) 0:00");
    // While dragging, the line keeps its text; the tip changes.
    Shell().dragging = true;
    ShowStatus(Stopped);
    EXPECT_EQ(view.tip, "Stopped");
    EXPECT_EQ(view.statusLine, "Playing (1) 0:00");
    EXPECT_EQ(CutTrayTip(std::string(63, 'x')), std::string(63, 'x'));
}

// The tip's field counts UTF-16 units: a Japanese title fills it as far as an English
// one does, and a letter that takes a surrogate pair goes whole or not at all.
TEST(TrayTip, IsCutToTheFieldAtACharacterBoundary) {
    std::string kana;
    for (int i = 0; i < 70; ++i) kana += "の";  // 3 bytes, 1 unit
    const std::string tip = CutTrayTip("Playing (1) 0:00 - " + kana);
    std::string expected = "Playing (1) 0:00 - ";
    for (int i = 0; i < 63 - 19; ++i) expected += "の";
    EXPECT_EQ(tip, expected);

    std::string full63;
    for (int i = 0; i < 63; ++i) full63 += "Ж";
    EXPECT_EQ(CutTrayTip(full63), full63) << "a field filled to the last unit keeps everything";
    EXPECT_EQ(CutTrayTip(full63 + "Ω"), full63);

    const std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E, a surrogate pair in UTF-16
    EXPECT_EQ(CutTrayTip(std::string(61, 'x') + clef), std::string(61, 'x') + clef) << "the pair ends the field";
    EXPECT_EQ(CutTrayTip(std::string(62, 'x') + clef + "y"), std::string(62, 'x'))
        << "half a pair would be a broken letter";

    // A byte that is no UTF-8 shows as one replacement letter and is cut as one.
    EXPECT_EQ(CutTrayTip(std::string(62, 'x') + "\xE9" + "Ω"), std::string(62, 'x') + "\xE9");
    EXPECT_EQ(CutTrayTip(std::string(62, 'x') + "\xE3\x81"), std::string(62, 'x') + "\xE3")
        << "each byte of a broken sequence counts alone: the cut never overfills the field";
}

TEST(StartSequence, FailureMessages) {
    EXPECT_STREQ(StartFailureMessage(0, Failed), "Unable to find a CD player on the system.");
    EXPECT_STREQ(StartFailureMessage(1, DeviceBusy),
                 "CD player has already been opened by another application.\nExit the other application before "
                 "running Tunova.");
    EXPECT_STREQ(StartFailureMessage(1, NoDisc), "No disc found in CD player.");
    EXPECT_STREQ(StartFailureMessage(1, NoAudioTracks), "Disc in CD player does not contain any audio tracks.");
    EXPECT_STREQ(StartFailureMessage(1, Failed), "Unknown initialization error.");
    EXPECT_STREQ(StartFailureMessage(2, NoDisc), "Unable to play an audio CD on any CD players found.");
}

TEST(StartSequence, PanelIsKeptOnTheWorkArea) {
    const PanelPlacement far = PlacePanel(5000, 5000, 1024, 740);
    EXPECT_EQ(far.x, 924);
    EXPECT_EQ(far.y, 665);
    const PanelPlacement negative = PlacePanel(-50, -20, 1024, 740);
    EXPECT_EQ(negative.x, -50);
    EXPECT_EQ(negative.y, -20);
}

TEST(StartSequence, CommandLineDriveIsTheOnlyOne) {
    EXPECT_EQ(BuildDriveList("E:"), (std::vector<std::string>{"E:"}));
}

} // namespace
