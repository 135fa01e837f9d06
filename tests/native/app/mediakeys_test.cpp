#include "app/commands.h"
#include "app/mediakeys.h"
#include "playerfixture.h"

namespace {

TEST(MediaKeyCommandTest, EachKeyRunsItsMenuCommandAndPlayPauseFollowsThePlayState) {
    EXPECT_EQ(MediaKeyCommand(MediaPlayPauseKey, Playing), CommandPause);
    EXPECT_EQ(MediaKeyCommand(MediaPlayPauseKey, Paused), CommandPlay);
    EXPECT_EQ(MediaKeyCommand(MediaPlayPauseKey, Stopped), CommandPlay);
    EXPECT_EQ(MediaKeyCommand(MediaStopKey, Playing), CommandStop);
    EXPECT_EQ(MediaKeyCommand(MediaNextTrackKey, Playing), CommandNextTrack);
    EXPECT_EQ(MediaKeyCommand(MediaPreviousTrackKey, Playing), CommandPreviousTrack);
    // Volume keys and anything else belong to others.
    EXPECT_EQ(MediaKeyCommand(0xAF, Playing), 0);
    EXPECT_EQ(MediaKeyCommand(0, Playing), 0);
    EXPECT_FALSE(RunMediaKey(0xAD));
}

TEST_F(PlayerTest, PlayPauseKeyPausesResumesAndStartsAtOnce) {
    LoadDisc(Album(3));
    Start(2);
    ASSERT_TRUE(RunMediaKey(MediaPlayPauseKey));
    // No click timer: the key is one press, never the start of a double click.
    EXPECT_FALSE(view.clickTimerRunning);
    EXPECT_EQ(Shell().playState, Paused);
    RunMediaKey(MediaPlayPauseKey);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 2);
    RunMediaKey(MediaStopKey);
    EXPECT_EQ(Shell().playState, Stopped);
    RunMediaKey(MediaPlayPauseKey);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 1);
}

TEST_F(PlayerTest, NextAndPreviousKeysStepWhilePlaying) {
    LoadDisc(Album(3));
    Start(1);
    RunMediaKey(MediaNextTrackKey);
    EXPECT_EQ(Shell().currentTrack, 2);
    RunMediaKey(MediaNextTrackKey);
    RunMediaKey(MediaPreviousTrackKey);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().playState, Playing);
}

} // namespace
