#include "app/commands.h"
#include "app/resume.h"
#include "discinfo/resumepoint.h"
#include "playerfixture.h"

namespace {

TEST(ResumePointAtEndTest, KeptOnlyWhilePlayingOrPausedWithTheOptionOn) {
    const ResumePoint point = ResumePointAtEnd(true, true, 3, 1, 10, 0);
    EXPECT_EQ(point.track, 3);
    EXPECT_EQ(point.seconds, 70);
    EXPECT_EQ(point.programEntry, 0);
    EXPECT_EQ(ResumePointAtEnd(true, true, 2, 0, 5, 4).programEntry, 4);
    // Off, stopped (by the user or at the disc's end), or no track chosen: none.
    EXPECT_FALSE(ResumePointAtEnd(false, true, 3, 1, 10, 0).Set());
    EXPECT_FALSE(ResumePointAtEnd(true, false, 3, 1, 10, 0).Set());
    EXPECT_FALSE(ResumePointAtEnd(true, true, 0, 0, 0, 0).Set());
}

class ResumeTest : public PlayerTest {
protected:
    void Exit() { NoteResumePoint(); }
    // A new run of the same disc: the record's point survives, the shell starts afresh.
    PlayState NextRun() {
        const ResumePoint kept = DiscInfo().resumePoint;
        ResetShell();
        PrepareTrackMarks();
        DiscInfo().resumePoint = kept;
        return Shell().playState = StartFirstPlay();
    }
};

TEST_F(ResumeTest, ADiscLeftPlayingStartsAtTheSameTrackAndPosition) {
    ProgramOptions().ResumeWhereStopped = 1;
    LoadDisc(Album(5));
    Start(3);
    Advance(70000);
    StatusTick();
    Exit();
    ASSERT_EQ(NextRun(), Playing);
    EXPECT_EQ(Shell().currentTrack, 3);
    std::int32_t track = 0, minute = 0, second = 0, frame = 0;
    ASSERT_TRUE(GetPlayPosition(&track, &minute, &second, &frame));
    EXPECT_EQ(track, 3);
    EXPECT_EQ(minute * 60 + second, 70);
}

TEST_F(ResumeTest, APausedDiscResumesButAStoppedOrFinishedOneStartsAtTheBeginning) {
    ProgramOptions().ResumeWhereStopped = 1;
    LoadDisc(Album(5));
    Start(4);
    Advance(20000);
    StatusTick();
    RunPlayerCommand(CommandPause);
    Exit();
    EXPECT_EQ(DiscInfo().resumePoint.track, 4);
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 4);

    RunPlayerCommand(CommandStop);
    Exit();
    EXPECT_FALSE(DiscInfo().resumePoint.Set());
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 1);

    // Played to its end: the last track stops the disc.
    Start(5);
    Advance(241000);
    StatusTick();
    ASSERT_EQ(Shell().playState, Stopped);
    Exit();
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 1);
}

TEST_F(ResumeTest, TheOptionOffIgnoresAStoredPointAndKeepsNone) {
    LoadDisc(Album(5));
    DiscInfo().resumePoint = ResumePointAtEnd(true, true, 3, 1, 10, 0);
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 1);
    Exit();
    EXPECT_FALSE(DiscInfo().resumePoint.Set());
}

TEST_F(ResumeTest, APointThatNoLongerFitsTheDiscOrItsProgramIsDropped) {
    ProgramOptions().ResumeWhereStopped = 1;
    LoadDisc({{'a', 240}, {'a', 240}, {'d', 600}});
    // A data track, or a track the disc does not have: the beginning.
    DiscInfo().resumePoint = ResumePointAtEnd(true, true, 3, 0, 10, 0);
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 1);
    DiscInfo().resumePoint = ResumePointAtEnd(true, true, 9, 0, 10, 0);
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 1);
    // Past the track's end: the track from its start.
    DiscInfo().resumePoint = ResumePointAtEnd(true, true, 2, 9, 0, 0);
    EXPECT_EQ(NextRun(), Playing);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().posMinute * 60 + Shell().posSecond, 0);
    // A program edited since: its entry names another track now.
    DiscInfo().program = {2, 1};
    DiscInfo().resumePoint = ResumePointAtEnd(true, true, 1, 0, 30, 1);
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().programPos, 1);
}

TEST_F(ResumeTest, ProgrammedPlayGoesOnInItsOrderFromTheResumedEntry) {
    ProgramOptions().ResumeWhereStopped = 1;
    LoadDisc(Album(5));
    DiscInfo().program = {5, 2, 4, 2, 1};
    Shell().programPos = 4;
    Start(2);
    Advance(30000);
    StatusTick();
    Exit();
    EXPECT_EQ(DiscInfo().resumePoint.programEntry, 4);
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().programPos, 4);
    RunPlayerCommand(CommandNextTrack);
    EXPECT_EQ(Shell().currentTrack, 1);
}

TEST_F(ResumeTest, RandomPlayResumesAtTheSameTrack) {
    ProgramOptions().ResumeWhereStopped = 1;
    ProgramOptions().Shuffle = 1;
    LoadDisc(Album(8));
    Start(6);
    Advance(30000);
    StatusTick();
    Exit();
    NextRun();
    EXPECT_EQ(Shell().currentTrack, 6);
    RunPlayerCommand(CommandNextTrack);
    EXPECT_NE(Shell().currentTrack, 6);
}

} // namespace
