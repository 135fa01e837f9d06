#include <map>
#include <set>

#include "playerfixture.h"

namespace {

// Follows the chooser through a whole sequence as the status tick would.
std::vector<int> AutoSequence() {
    std::vector<int> order;
    ShellState& shell = Shell();
    shell.currentTrack = ChooseTrack(ChooseFirst);
    while (shell.currentTrack != 0 && order.size() < 100) {
        order.push_back(shell.currentTrack);
        shell.currentTrack = ChooseTrack(ChooseAutoNext);
    }
    return order;
}

TEST_F(PlayerTest, DataTracksAreNeverChosen) {
    LoadDisc({{'a', 200}, {'a', 200}, {'d', 300}});
    EXPECT_EQ(AutoSequence(), (std::vector<int>{1, 2}));

    ProgramOptions().Shuffle = 1;
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        SeedRandom(seed);
        const std::vector<int> order = AutoSequence();
        EXPECT_EQ(std::set<int>(order.begin(), order.end()), (std::set<int>{1, 2})) << "seed " << seed;
    }
}

TEST_F(PlayerTest, ShufflePlaysEveryAudioTrackOnceThenStopsOrStartsOver) {
    LoadDisc({{'a', 100}, {'d', 100}, {'a', 100}, {'a', 100}, {'a', 100}, {'a', 100}, {'a', 100}});
    ProgramOptions().Shuffle = 1;
    SeedRandom(7);
    const std::vector<int> order = AutoSequence();
    EXPECT_EQ(order.size(), 6u);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()), (std::set<int>{1, 3, 4, 5, 6, 7}));
    // First clears the played flags, so random play starts over.
    Shell().currentTrack = ChooseTrack(ChooseFirst);
    EXPECT_NE(Shell().currentTrack, 0);
    for (const TrackMark& mark : Shell().trackMarks) EXPECT_FALSE(mark.played);
}

TEST_F(PlayerTest, ProgramIsWalkedInItsOrderWithRepeats) {
    LoadDisc(Album(4));
    DiscInfo().program = {3, 1, 3};
    EXPECT_EQ(AutoSequence(), (std::vector<int>{3, 1, 3}));
    // Next and Previous walk the program too.
    ShellState& shell = Shell();
    shell.currentTrack = ChooseTrack(ChooseFirst);
    shell.currentTrack = ChooseTrack(ChooseNext);
    EXPECT_EQ(shell.currentTrack, 1);
    shell.currentTrack = ChooseTrack(ChoosePrevious);
    EXPECT_EQ(shell.currentTrack, 3);
    EXPECT_EQ(ChooseTrack(ChoosePrevious), 0);
}

TEST_F(PlayerTest, ProgramEntriesNotOnTheDiscAreSkipped) {
    LoadDisc(Album(3));
    DiscInfo().program = {0, 2, 99, -1, 3, 4};
    EXPECT_EQ(AutoSequence(), (std::vector<int>{2, 3}));
    ProgramOptions().Shuffle = 1;
    for (std::uint32_t seed = 0; seed < 30; ++seed) {
        SeedRandom(seed);
        for (int track : AutoSequence()) EXPECT_TRUE(track == 2 || track == 3) << track;
    }
    DiscInfo().program = {42};
    ProgramOptions().Shuffle = 0;
    EXPECT_EQ(ChooseTrack(ChooseFirst), 0);
    EXPECT_EQ(PlayTrack(0), Stopped) << "nothing to play stops the drive";
}

// An order stored before, or by another program, may name a data track: the drive
// refuses to play one, so sequencing passes over it wherever it stands in the order.
TEST_F(PlayerTest, DataTracksInAStoredOrderArePassedOver) {
    LoadDisc({{'a', 60}, {'a', 60}, {'a', 60}, {'a', 60}, {'d', 60}, {'a', 60}});
    for (const auto& order : {std::vector<std::int32_t>{5, 4, 1}, {4, 5, 1}, {4, 1, 5}}) {
        DiscInfo().program = order;
        EXPECT_EQ(AutoSequence(), (std::vector<int>{4, 1})) << ::testing::PrintToString(order);
    }
    // Next, Previous and random order see the playable entries only.
    ShellState& shell = Shell();
    DiscInfo().program = {5, 4, 5, 1, 5};
    shell.currentTrack = ChooseTrack(ChooseFirst);
    EXPECT_EQ(shell.currentTrack = ChooseTrack(ChooseNext), 1);
    EXPECT_EQ(ChooseTrack(ChooseNext), 0);
    EXPECT_EQ(shell.currentTrack = ChooseTrack(ChoosePrevious), 4);
    EXPECT_EQ(ChooseTrack(ChoosePrevious), 0);
    ProgramOptions().Shuffle = 1;
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        SeedRandom(seed);
        const std::vector<int> shuffled = AutoSequence();
        EXPECT_EQ(std::set<int>(shuffled.begin(), shuffled.end()), (std::set<int>{1, 4})) << "seed " << seed;
    }
    ProgramOptions().Shuffle = 0;
    // Repeat current does not repeat the last playable entry because a data one follows.
    DiscInfo().program = {4, 1, 5};
    shell.repeatCurrent = true;
    shell.currentTrack = ChooseTrack(ChooseFirst);
    shell.currentTrack = ChooseTrack(ChooseNext);
    EXPECT_EQ(ChooseTrack(ChooseAutoNext), 0);
    // An order of data tracks alone has nothing to play.
    DiscInfo().program = {5, 5};
    EXPECT_EQ(ChooseTrack(ChooseFirst), 0);
}

TEST_F(PlayerTest, RepeatCurrentRepeatsButNotTheLastTrack) {
    LoadDisc(Album(3));
    Shell().repeatCurrent = true;
    Shell().currentTrack = 2;
    EXPECT_EQ(ChooseTrack(ChooseAutoNext), 2);
    Shell().currentTrack = 3;
    EXPECT_EQ(ChooseTrack(ChooseAutoNext), 0);
    // The user's Next ignores it.
    Shell().currentTrack = 1;
    EXPECT_EQ(ChooseTrack(ChooseNext), 2);
}

TEST_F(PlayerTest, RandomPickFavoursInnerCandidatesTwiceAsMuch) {
    LoadDisc(Album(5));
    SeedRandom(12345);
    std::map<int, int> picks;
    constexpr int draws = 40000;
    for (int i = 0; i < draws; ++i) ++picks[RandomPick()];
    ASSERT_EQ(picks.size(), 5u);
    // k - 1 = round(r/32767 * 4): the ends get half a step each, the middle ones a whole.
    EXPECT_NEAR(picks[1] / double(draws), 0.125, 0.01);
    EXPECT_NEAR(picks[5] / double(draws), 0.125, 0.01);
    for (int track = 2; track <= 4; ++track) EXPECT_NEAR(picks[track] / double(draws), 0.25, 0.015);
}

TEST_F(PlayerTest, IntroductionPlayStartsWhereItShould) {
    // Not last: the drive reports a last track one frame short.
    LoadDisc({{'a', 240}, {'a', 15}, {'a', 60}});
    Shell().introPlay = true;
    ProgramOptions().IntroPlayStart = 10;
    ProgramOptions().IntroPlayLength = 10;
    Start(1);
    EXPECT_EQ(Shell().posMinute * 60 + Shell().posSecond, 10);
    Start(2); // a 15-second track: the last 10 seconds
    EXPECT_EQ(Shell().posMinute * 60 + Shell().posSecond, 5);
    ProgramOptions().IntroPlayStart = -1; // the middle of the track
    Start(1);
    EXPECT_EQ(Shell().posMinute, 1);
    EXPECT_EQ(Shell().posSecond, 55);
}

TEST_F(PlayerTest, StatusTickEndsTheIntroductionAndMovesOn) {
    LoadDisc(Album(3));
    Shell().introPlay = true;
    ProgramOptions().IntroPlayStart = 10;
    ProgramOptions().IntroPlayLength = 10;
    Start(1);
    Advance(10500); // at 0:20.5: still the introduction
    StatusTick();
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_EQ(Shell().posSecond, 20);
    Advance(1000); // 0:21.5: over
    StatusTick();
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().posSecond, 10);
}

// A set start plays its full introduction however far into the track it lies; the
// middle-of-track end belongs to the centred setting alone.
TEST_F(PlayerTest, AnIntroductionFromALateStartPlaysItsFullLength) {
    LoadDisc(Album(3, 180));
    Shell().introPlay = true;
    ProgramOptions().IntroPlayStart = 100;
    ProgramOptions().IntroPlayLength = 10;
    Start(1);
    TickFor(10);
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_EQ(Shell().posMinute * 60 + Shell().posSecond, 110);
    TickFor(1);
    EXPECT_EQ(Shell().currentTrack, 2);
}

TEST_F(PlayerTest, StatusTickFollowsTheDriveAcrossTracksWhenPlayingToTheEnd) {
    LoadDisc(Album(3, 60));
    Start(1);
    Advance(61000);
    StatusTick();
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_TRUE(Shell().trackMarks[0].played);
    EXPECT_EQ(view.tip, "Playing (2) 0:01");
    // The disc plays out: stopped, with the stopped views.
    TickFor(130);
    EXPECT_EQ(Shell().currentTrack, 0);
    EXPECT_TRUE(Shell().trackMarks[1].played && Shell().trackMarks[2].played);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(view.tip, "Stopped");
    EXPECT_FALSE(view.ended);
}

TEST_F(PlayerTest, EndOfDiscWithEjectAtEndEndsTheProgram) {
    LoadDisc(Album(2, 30));
    ProgramOptions().EjectAtEnd = 1;
    Start(1);
    TickFor(70);
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(GetDeviceMode(), NoDisc) << "the door is open";
}

TEST_F(PlayerTest, RepeatAllStartsTheDiscAgain) {
    LoadDisc(Album(2, 30));
    ProgramOptions().RepeatAll = 1;
    Start(1);
    TickFor(61);
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_EQ(Shell().playState, Playing);
}

// Holds a panel button through ticks; returns the positions after each tick.
std::vector<int> HoldFor(RecordingView& view, int button, int ticks) {
    view.heldButton = button;
    std::vector<int> positions;
    for (int i = 0; i < ticks; ++i) {
        ScanTick();
        positions.push_back(Shell().posMinute * 60 + Shell().posSecond);
    }
    return positions;
}

TEST_F(PlayerTest, HeldNextScansForwardInGrowingSteps) {
    LoadDisc(Album(2, 600));
    Start(1);
    const std::vector<int> positions = HoldFor(view, ScanNextButton, 1 + 5 + 40);
    EXPECT_EQ(view.scanPeriods.front(), ScanTimerActiveMs);
    // The first tick and five more pass before the scan moves.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(positions[i], 0) << i;
    EXPECT_EQ(positions[5], 2);
    EXPECT_EQ(positions[5 + 28], 58); // 29 steps of 2 s
    EXPECT_EQ(positions[5 + 29], 63); // then 5 s
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(view.statusLine, "Playing (1) " + std::to_string(positions.back() / 60) + ":" +
                                   (positions.back() % 60 < 10 ? "0" : "") + std::to_string(positions.back() % 60));
    // Letting go resumes play where the scan ended.
    view.heldButton = 0;
    ScanTick();
    EXPECT_EQ(Shell().scanCount, 0);
    std::int32_t track, minute, second, frame;
    ASSERT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 1);
    EXPECT_EQ(track, 1);
    EXPECT_EQ(minute * 60 + second, positions.back());
    EXPECT_EQ(view.scanPeriods.back(), ScanTimerIdleMs);
}

TEST_F(PlayerTest, RewindingPastTheStartOfTheFirstTrackStops) {
    LoadDisc(Album(2));
    Start(1);
    Advance(3000);
    StatusTick();
    HoldFor(view, ScanPreviousButton, 1 + 5 + 3);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(Shell().scanCount, 0);
    EXPECT_EQ(view.statusLine, "Stopped");
}

// Off the end of the disc the scan stops the drive, and every view says Stopped.
TEST_F(PlayerTest, AForwardScanOffTheEndOfTheDiscShowsStoppedEverywhere) {
    LoadDisc({{'a', 10}, {'a', 6}});
    Start(2);
    view.events.clear();
    HoldFor(view, ScanNextButton, 1 + 5 + 4);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(GetDeviceMode(), Stopped);
    EXPECT_EQ(view.events, (std::vector<std::string>{"icon", "menus", "buttons"}));
    EXPECT_EQ(view.tip, "Stopped");
    EXPECT_EQ(view.statusLine, "Stopped");
}

// A step over a minute's end lands past a track's end only when its fields are compared
// one by one: the whole position moves to the next track and no time left goes negative.
TEST_F(PlayerTest, AScanStepNeverLandsPastTheTrackEnd) {
    LoadDisc({{'a', 65}, {'a', 100}});
    ProgramOptions().TimeDisplayMode = 1;
    Start(1);
    Advance(59000);
    StatusTick();
    Shell().posSecond = 59;
    Shell().scanCount = 61; // the scan has reached its 10-second steps
    view.heldButton = ScanNextButton;
    ScanTick();
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().posMinute * 60 + Shell().posSecond, 0);
    EXPECT_EQ(view.statusLine, "Playing (2) 1:39");
}

TEST_F(PlayerTest, ScanningPastATrackEndGoesOnInTheNextTrack) {
    LoadDisc({{'a', 10}, {'a', 100}});
    Start(1);
    HoldFor(view, ScanNextButton, 1 + 5 + 6); // seven steps: 2, 4, 6, 8, 10 (the end), 0:02, 0:04
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().posMinute * 60 + Shell().posSecond, 4);
}

} // namespace
