// The player against a drive that behaves as real ones do: it seeks, it is not ready
// for a moment, it refuses a pause of nothing and plays no data.
#include "app/commands.h"
#include "app/resume.h"
#include "app/statustext.h"
#include "playerfixture.h"
#include "tests/support/logcapture.h"

namespace {

TEST_F(PlayerTest, SeekingMomentsNeitherMoveNorMarkTheTrack) {
    InstallVirtualCdText(DiscText({{'a', 60}, {'a', 60}, {'a', 60}}) + "seek 1500\n", [this] { return nowMs; });
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    PrepareTrackMarks();
    Start(1);
    TickFor(20);
    // Next track: the drive seeks while its position still reads track 1.
    RunPlayerCommand(CommandNextTrack);
    Advance(1000);
    StatusTick();
    EXPECT_EQ(GetDeviceMode(), Seeking);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_FALSE(Shell().trackMarks[1].played);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_FALSE(view.ended);
    TickFor(2);
    EXPECT_EQ(view.tip, "Playing (2) 0:01");
}

TEST_F(PlayerTest, ANotReadyMomentIsWaitedOutButADriveThatStaysSoEndsThePlayer) {
    LoadDisc({{'a', 60}, {'a', 60}});
    Start(1);
    // Mode answers come from the drive; one that says "not ready" now and then.
    std::string text = DiscText({{'a', 60}, {'a', 60}}) + "notready\n";
    InstallVirtualCdText(text, [this] { return nowMs; });
    std::uint16_t id = 0;
    ASSERT_EQ(CdAudio().Open("D:", false, &id), 0u);
    CdDevice().deviceId = id;
    TickFor(NotReadyTickLimit - 1);
    EXPECT_FALSE(view.ended);
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_FALSE(Shell().trackMarks[0].played);
    TickFor(1);
    EXPECT_TRUE(view.ended);
}

TEST_F(PlayerTest, APauseTheDriveRefusesLeavesPlayAsItWas) {
    InstallVirtualCdText(DiscText({{'a', 60}, {'a', 60}}) + "fail pause 262\n", [this] { return nowMs; });
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    PrepareTrackMarks();
    Start(1);
    RunPlayerCommand(CommandPause);
    EXPECT_EQ(Shell().playState, Playing);
    Shell().clickState = ClickOnePending;
    TrayClickTimeout();
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(GetDeviceMode(), Playing);
}

// A play the drive refuses ends stopped, with the views as for any stop and the log
// naming the track: never a state that is neither playing nor stopped.
TEST_F(PlayerTest, APlayTheDriveRefusesEndsStoppedAndSaysWhichTrack) {
    const std::string disc = DiscText({{'a', 30}, {'a', 30}});
    InstallVirtualCdText(disc, [this] { return nowMs; });
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    PrepareTrackMarks();
    Start(1);
    ASSERT_EQ(Shell().playState, Playing);
    // The drive turns to refusing every play while track 1 plays (opened again: it
    // has stopped).
    InstallVirtualCdText(disc + "fail play 274\n", [this] { return nowMs; });
    std::uint16_t id = 0;
    ASSERT_EQ(CdAudio().Open("D:", false, &id), 0u);
    CdDevice().deviceId = id;
    LogCapture log;
    view.events.clear();
    TickFor(1);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(GetDeviceMode(), Stopped);
    EXPECT_EQ(view.events, (std::vector<std::string>{"icon", "menus", "buttons"}));
    EXPECT_EQ(view.tip, "Stopped");
    const std::string text = log.Text();
    EXPECT_NE(text.find("Starting play on track:  2\r\nMCI Error starting play: \r\n  "), std::string::npos) << text;
    EXPECT_NE(text.find("Unable to play track:  2\r\nStopping play.\r\n"), std::string::npos) << text;
    // Stopped, it stays so, and Play, the icon's click and a resume try again and stop again.
    TickFor(3);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_FALSE(view.ended);
    RunPlayerCommand(CommandPlay);
    EXPECT_EQ(Shell().playState, Stopped);
    HandleTrayClick(TrayLeftButtonDown);
    EXPECT_EQ(Shell().playState, Stopped);
    Shell().playState = Paused;
    RunPlayerCommand(CommandPause);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(view.tip, "Stopped");
}

// An order of data tracks alone (stored by another program) has nothing to play: the
// player starts stopped and Play leaves it so, with the reason in the log.
TEST_F(PlayerTest, AnOrderOfDataTracksAloneStartsStopped) {
    LoadDisc({{'a', 30}, {'d', 30}});
    DiscInfo().program = {2};
    LogCapture log;
    Shell().playState = StartFirstPlay();
    EXPECT_EQ(Shell().playState, Stopped);
    RunPlayerCommand(CommandPlayButton);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(view.tip, "Stopped");
    EXPECT_EQ(log.Text(), LogCapture::Lines({"No audio track in the programmed order.", "Stopping play.",
                                             "No audio track in the programmed order.", "Stopping play."}));
}

// An enhanced CD: audio, then data in a second session. Play to the end of the disc
// stops at the end of the last audio track and the player stops with it.
TEST_F(PlayerTest, AnEnhancedCdPlaysToItsLastAudioTrackAndStops) {
    InstallVirtualCdText("track audio 150\ntrack audio 4650\nsession 2\ntrack data 20100\nleadout 40000\n",
                         [this] { return nowMs; });
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    PrepareTrackMarks();
    Start(1);
    ASSERT_EQ(Shell().playState, Playing);
    // Track 2's table length, 206 s, holds the 152 s gap between the sessions.
    EXPECT_EQ(TrackLengthSeconds(2), 54);
    TickFor(60 + 53);
    EXPECT_EQ(Shell().currentTrack, 2);
    EXPECT_EQ(Shell().playState, Playing);
    TickFor(3);
    EXPECT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(Shell().currentTrack, 0);
    EXPECT_EQ(view.tip, "Stopped");
    EXPECT_FALSE(view.ended);
}

// A driver that moves an end on a data track's first frame past it (as Wine's does)
// lets the drive reach the data track; the player still never makes it current.
class DataPositionDriver : public CdAudioDriver {
public:
    std::uint32_t Open(const char*, bool, std::uint16_t* id) override { return *id = 1, 0; }
    std::uint32_t Status(std::uint16_t, std::uint32_t item, std::int32_t, std::uint32_t* value) override {
        *value = item == mci::StatusMode ? mci::ModePlay : PackTmsf(2, 0, 0, 5);
        return 0;
    }
    std::uint32_t InfoMediaIdentity(std::uint16_t, char*, std::uint32_t) override { return 0; }
    std::uint32_t SetTimeFormat(std::uint16_t, std::uint32_t) override { return 0; }
    std::uint32_t SetDoorOpen(std::uint16_t) override { return 0; }
    std::uint32_t Play(std::uint16_t, bool, std::uint32_t, std::uint32_t) override { return 0; }
    std::uint32_t Pause(std::uint16_t) override { return 0; }
    std::uint32_t Stop(std::uint16_t) override { return 0; }
    std::uint32_t Close(std::uint16_t) override { return 0; }
    bool ErrorText(std::uint32_t, char*, std::uint32_t) override { return false; }
};

TEST_F(PlayerTest, ADataTrackIsNeverTakenFromTheDrivesPosition) {
    LoadDisc({{'a', 30}, {'d', 30}, {'a', 30}});
    Start(1);
    InstallCdAudioDriver(std::make_unique<DataPositionDriver>());
    StatusTick();
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_FALSE(Shell().trackMarks[0].played);
}

// A data track amid the audio: play to the end stops before it and goes on after it.
TEST_F(PlayerTest, PlayToTheEndStepsOverADataTrack) {
    LoadDisc({{'a', 30}, {'d', 30}, {'a', 30}});
    Start(1);
    TickFor(32);
    EXPECT_EQ(Shell().currentTrack, 3);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_TRUE(Shell().trackMarks[0].played);
    EXPECT_FALSE(Shell().trackMarks[1].played);
}

// Through a pregap the position passes the track's length: no time shown goes negative.
TEST_F(PlayerTest, APregapNeverMakesTheTimeLeftNegative) {
    InstallVirtualCdText("track audio 150\ntrack audio 4650\npregap 300\nleadout 9000\n", [this] { return nowMs; });
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    PrepareTrackMarks();
    ProgramOptions().TimeDisplayMode = 1;
    Start(1);
    TickFor(58); // track 1 reports 56 s; its last 4 s are track 2's pregap
    EXPECT_EQ(Shell().currentTrack, 1);
    EXPECT_EQ(Shell().posSecond, 58);
    EXPECT_EQ(view.tip, "Playing (1) 0:00");
}

TEST_F(PlayerTest, TimesLeftAreNeverNegative) {
    LoadDisc({{'a', 60}, {'a', 60}});
    ProgramOptions().TimeDisplayMode = 1;
    EXPECT_EQ(FormatTimeText(2, 1, 3), "(2) 0:00");
    ProgramOptions().TimeDisplayMode = 3;
    EXPECT_EQ(FormatTimeText(2, 1, 3), "0:00");
    EXPECT_EQ(FormatTimeText(2, 0, 30), "0:30");
}

// A drive whose disc has just gone in is not ready: the start waits it out.
TEST(StartSequence, WaitsForADriveThatIsNotReadyYet) {
    std::int64_t now = 0;
    InstallVirtualCdText(DiscText({{'a', 60}}) + "settle 2000\n", [&now] { return now; });
    StartWaiting waiting{[&now] { return now; }, [&now](int ms) { now += ms; }};
    std::string drive;
    EXPECT_EQ(TryDrives({"D:"}, drive, waiting), Stopped);
    EXPECT_EQ(drive, "D:");
    EXPECT_GE(now, 2000);
    CloseCdDevice();

    InstallVirtualCdText(DiscText({{'a', 60}}) + "settle 60000\n", [&now] { return now; });
    const std::int64_t start = now;
    drive.clear();
    EXPECT_EQ(TryDrives({"D:"}, drive, waiting), NotReady);
    EXPECT_TRUE(drive.empty());
    EXPECT_GE(now - start, NotReadyWaitMs);
    EXPECT_LT(now - start, NotReadyWaitMs + 2 * NotReadyRetryMs);
    EXPECT_STREQ(StartFailureMessage(1, NotReady), "Unknown initialization error.");
    InstallCdAudioDriver(nullptr);
}

} // namespace
