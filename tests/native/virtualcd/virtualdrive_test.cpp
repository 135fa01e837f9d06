#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/virtualcd.h"

namespace {

const char* const ThreeTracks = "track audio 150\ntrack audio 18787\ntrack data 36077\nleadout 56475\n";

std::uint32_t Msf(int m, int s, int f) { return static_cast<std::uint32_t>(m | s << 8 | f << 16); }
std::uint32_t Tmsf(int t, int m, int s, int f) { return static_cast<std::uint32_t>(t | m << 8 | s << 16 | f << 24); }

class VirtualDriveTest : public ::testing::Test {
protected:
    std::unique_ptr<CdAudioDriver> Make(const std::vector<std::string>& texts, double speed = 1.0,
                                        const std::string& trace = std::string()) {
        std::shared_ptr<std::int64_t> now = now_;
        return CreateVirtualCdDriver(texts, [now] { return *now; }, speed, trace);
    }
    std::uint32_t Get(CdAudioDriver& driver, std::uint16_t id, std::uint32_t item, std::int32_t track = 0) {
        std::uint32_t value = 0xDEAD;
        EXPECT_EQ(driver.Status(id, item, track, &value), 0u) << item;
        return value;
    }
    std::uint16_t OpenD(CdAudioDriver& driver, std::uint32_t format) {
        std::uint16_t id = 0;
        EXPECT_EQ(driver.Open("D:", false, &id), 0u);
        EXPECT_EQ(driver.SetTimeFormat(id, format), 0u);
        return id;
    }
    std::shared_ptr<std::int64_t> now_ = std::make_shared<std::int64_t>(1000);
};

TEST_F(VirtualDriveTest, ReportsTheTableInMsfAndTmsf) {
    auto driver = Make({ThreeTracks});
    const std::uint16_t id = OpenD(*driver, mci::FormatMsf);
    EXPECT_EQ(Get(*driver, id, mci::StatusMediaPresent), 1u);
    EXPECT_EQ(Get(*driver, id, mci::StatusNumberOfTracks), 3u);
    EXPECT_EQ(Get(*driver, id, mci::CdaStatusTypeTrack, 1), mci::CdaTrackAudio);
    EXPECT_EQ(Get(*driver, id, mci::CdaStatusTypeTrack, 3), mci::CdaTrackOther);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition, 2), Msf(4, 10, 37));
    EXPECT_EQ(Get(*driver, id, mci::StatusLength, 1), Msf(4, 8, 37));     // 18637 frames
    EXPECT_EQ(Get(*driver, id, mci::StatusLength, 3), Msf(4, 31, 72));    // 20398 - 1 frames
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 2, 0));       // home: track 1
    std::uint32_t value = 0;
    EXPECT_EQ(driver->Status(id, mci::StatusLength, 4, &value), mci::ErrOutOfRange);

    ASSERT_EQ(driver->SetTimeFormat(id, mci::FormatTmsf), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition, 2), Tmsf(2, 0, 0, 0));
    EXPECT_EQ(Get(*driver, id, mci::StatusLength, 1), Msf(4, 8, 37)); // lengths stay MSF
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(1, 0, 0, 0));
    EXPECT_EQ(driver->SetTimeFormat(id, 7), mci::ErrBadTimeFormat);

    char identity[29] = {};
    ASSERT_EQ(driver->InfoMediaIdentity(id, identity, sizeof identity), 0u);
    EXPECT_STREQ(identity, "789799");
}

TEST_F(VirtualDriveTest, PlaysAgainstTheClockToTheEndOfItsRange) {
    auto driver = Make({ThreeTracks});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    // Track 1 from 0:10.00 to its end (TMSF of its reported length).
    ASSERT_EQ(driver->Play(id, true, Tmsf(1, 0, 10, 0), Tmsf(1, 4, 8, 37)), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePlay);
    *now_ += 2000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(1, 0, 12, 0));
    *now_ += 40; // 3 frames
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(1, 0, 12, 3));
    *now_ += 10 * 60 * 1000;
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(2, 0, 0, 0)); // stopped at the end
}

TEST_F(VirtualDriveTest, PauseHoldsThePositionAndPlayWithoutStartContinues) {
    auto driver = Make({ThreeTracks});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    ASSERT_EQ(driver->Play(id, true, Tmsf(2, 1, 0, 0), Tmsf(2, 3, 50, 40)), 0u);
    *now_ += 3000;
    ASSERT_EQ(driver->Pause(id), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePause);
    *now_ += 50000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(2, 1, 3, 0));
    ASSERT_EQ(driver->Play(id, false, 0, Tmsf(2, 3, 50, 40)), 0u);
    *now_ += 1000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(2, 1, 4, 0));
    ASSERT_EQ(driver->Stop(id), 0u);
    *now_ += 5000;
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(2, 1, 4, 0));
}

// A drive pauses audio under way only: a pause of a stopped drive fails as the
// driver reports a failed pause request, and leaves it stopped.
TEST_F(VirtualDriveTest, PauseFailsUnlessPlaying) {
    auto driver = Make({ThreeTracks});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    EXPECT_EQ(driver->Pause(id), mci::ErrHardware);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    ASSERT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 0, 0, 0)), 0u);
    EXPECT_EQ(driver->Pause(id), 0u);
    EXPECT_EQ(driver->Pause(id), 0u); // a pause in effect may be asked for again
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePause);
    ASSERT_EQ(driver->Stop(id), 0u);
    EXPECT_EQ(driver->Pause(id), mci::ErrHardware);
}

// The driver stops the drive when a device closes; the next open finds it stopped.
TEST_F(VirtualDriveTest, CloseStopsPlay) {
    auto driver = Make({ThreeTracks});
    std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    ASSERT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 0, 0, 0)), 0u);
    *now_ += 5000;
    ASSERT_EQ(driver->Close(id), 0u);
    *now_ += 5000;
    id = OpenD(*driver, mci::FormatTmsf);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(1, 0, 5, 0));
}

TEST_F(VirtualDriveTest, SpeedScalesTheClock) {
    auto driver = Make({ThreeTracks}, 4.0);
    const std::uint16_t id = OpenD(*driver, mci::FormatMsf);
    ASSERT_EQ(driver->Play(id, true, Msf(0, 2, 0), Msf(4, 10, 37)), 0u);
    *now_ += 1500;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Msf(0, 8, 0));
}

TEST_F(VirtualDriveTest, RefusesPlayOutsideTheDisc) {
    auto driver = Make({ThreeTracks});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    EXPECT_EQ(driver->Play(id, true, Tmsf(4, 0, 0, 0), Tmsf(3, 1, 0, 0)), mci::ErrOutOfRange);
    EXPECT_EQ(driver->Play(id, true, Tmsf(0, 0, 0, 0), Tmsf(3, 1, 0, 0)), mci::ErrOutOfRange);
    EXPECT_EQ(driver->Play(id, true, Tmsf(2, 0, 0, 0), Tmsf(1, 1, 0, 0)), mci::ErrOutOfRange);
    EXPECT_EQ(driver->Play(id, true, Tmsf(1, 0, 60, 0), Tmsf(3, 1, 0, 0)), mci::ErrOutOfRange);
    EXPECT_EQ(driver->Play(id, false, 0, Tmsf(3, 9, 0, 0)), mci::ErrOutOfRange); // past the lead-out
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
}

// The lead-out is no position to play to; the last frame before it is.
TEST_F(VirtualDriveTest, RefusesAnEndAtTheLeadOut) {
    auto driver = Make({"track audio 150\nleadout 13500\n"});
    const std::uint16_t id = OpenD(*driver, mci::FormatMsf);
    EXPECT_EQ(driver->Play(id, true, Msf(0, 2, 0), Msf(3, 0, 0)), mci::ErrOutOfRange);
    EXPECT_EQ(driver->Play(id, true, Msf(0, 2, 0), Msf(2, 59, 74)), 0u);
}

// The drive plays audio only: a range that runs into a data track, its pregap or the
// gap before an enhanced CD's data session fails, and the drive stays as it was.
TEST_F(VirtualDriveTest, RefusesRangesIntoDataOrAcrossTheSessionGap) {
    auto driver = Make({"track audio 150\ntrack audio 18395\nsession 2\ntrack data 40000\nleadout 60000\n"});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    // Track 2 as the table has it runs to the data track: 21605 frames, 4:48.05.
    EXPECT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 4, 48, 5)), mci::ErrHardware);
    EXPECT_EQ(driver->Play(id, true, Tmsf(2, 0, 0, 0), Tmsf(2, 2, 16, 6)), mci::ErrHardware); // 1 frame in
    EXPECT_EQ(driver->Play(id, true, Tmsf(3, 0, 0, 0), Tmsf(3, 1, 0, 0)), mci::ErrHardware);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    // 21605 - 11400 = 10205 frames: 2:16.05, the end of the audio session.
    EXPECT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 2, 16, 5)), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePlay);
}

// After the disc goes in the drive answers "not ready" for its settle time, to the
// table and to play, however often it is opened; its mode says so and the disc is there.
TEST_F(VirtualDriveTest, SettlesAfterTheFirstOpen) {
    auto driver = Make({std::string(ThreeTracks) + "settle 2000\n"});
    std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    std::uint32_t value = 0;
    char identity[29] = {};
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeNotReady);
    EXPECT_EQ(Get(*driver, id, mci::StatusMediaPresent), 1u);
    EXPECT_EQ(driver->Status(id, mci::StatusNumberOfTracks, 0, &value), mci::ErrDeviceNotReady);
    EXPECT_EQ(driver->Status(id, mci::StatusPosition, 1, &value), mci::ErrDeviceNotReady);
    EXPECT_EQ(driver->InfoMediaIdentity(id, identity, sizeof identity), mci::ErrDeviceNotReady);
    EXPECT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 0, 0, 0)), mci::ErrDeviceNotReady);
    *now_ += 1500;
    ASSERT_EQ(driver->Close(id), 0u);
    id = OpenD(*driver, mci::FormatTmsf); // a new open does not start the wait again
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeNotReady);
    *now_ += 500;
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeStop);
    EXPECT_EQ(Get(*driver, id, mci::StatusNumberOfTracks), 3u);
}

// A play from a position seeks first: the mode says seeking and the position still
// reads where the drive was; a play without a start goes on at once.
TEST_F(VirtualDriveTest, SeeksBeforePlayingFromAPosition) {
    auto driver = Make({std::string(ThreeTracks) + "seek 400\n"});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    ASSERT_EQ(driver->Play(id, true, Tmsf(2, 1, 0, 0), Tmsf(2, 3, 50, 40)), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeSeek);
    *now_ += 300;
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeSeek);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(1, 0, 0, 0));
    *now_ += 1100;
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePlay);
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(2, 1, 1, 0));
    ASSERT_EQ(driver->Pause(id), 0u);
    ASSERT_EQ(driver->Play(id, false, 0, Tmsf(2, 3, 50, 40)), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModePlay);
}

// Play runs on through the next track's pregap under the earlier track's number, so the
// position passes the length the drive reports for that track.
TEST_F(VirtualDriveTest, PositionsRunThroughAPregapPastTheTrackLength) {
    auto driver = Make({"track audio 150\ntrack audio 7650\npregap 225\nleadout 20000\n"});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    EXPECT_EQ(Get(*driver, id, mci::StatusLength, 1), Msf(1, 37, 0)); // 7275 frames
    ASSERT_EQ(driver->Play(id, true, Tmsf(1, 1, 36, 0), Tmsf(2, 0, 10, 0)), 0u);
    *now_ += 2000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(1, 1, 38, 0));
    *now_ += 2000;
    EXPECT_EQ(Get(*driver, id, mci::StatusPosition), Tmsf(2, 0, 0, 0));
}

TEST_F(VirtualDriveTest, EjectOpensTheDoor) {
    auto driver = Make({ThreeTracks});
    const std::uint16_t id = OpenD(*driver, mci::FormatTmsf);
    ASSERT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 0, 0, 0)), 0u);
    ASSERT_EQ(driver->SetDoorOpen(id), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeOpen);
    EXPECT_EQ(Get(*driver, id, mci::StatusMediaPresent), 0u);
    EXPECT_EQ(driver->Play(id, true, Tmsf(1, 0, 0, 0), Tmsf(2, 0, 0, 0)), mci::ErrDeviceNotReady);
    std::uint32_t value = 0;
    EXPECT_EQ(driver->Status(id, mci::StatusNumberOfTracks, 0, &value), mci::ErrDeviceNotReady);
}

TEST_F(VirtualDriveTest, DirectivesShapeTheDrive) {
    auto driver = Make({"nodisc\n", std::string(ThreeTracks) + "notready\n", "busy\n", "drive Q:\nleadout 0\n"});
    std::uint16_t id = 0;
    ASSERT_EQ(driver->Open("D:", false, &id), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMediaPresent), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeOpen);
    ASSERT_EQ(driver->Open("e:", false, &id), 0u);
    EXPECT_EQ(Get(*driver, id, mci::StatusMode), mci::ModeNotReady);
    EXPECT_EQ(driver->Open("F:", false, &id), mci::ErrMustUseShareable);
    EXPECT_EQ(driver->Open("F:", true, &id), mci::ErrMustUseShareable);
    EXPECT_EQ(driver->Open("Q:\\", false, &id), 0u);
    EXPECT_EQ(driver->Open("G:", false, &id), mci::ErrInvalidFile);
    std::uint32_t value = 0;
    EXPECT_EQ(driver->Status(999, mci::StatusMode, 0, &value), mci::ErrInvalidDeviceId);
    EXPECT_EQ(driver->Close(999), mci::ErrInvalidDeviceId);
}

TEST_F(VirtualDriveTest, ExclusiveOpensKeepOthersOut) {
    auto driver = Make({ThreeTracks});
    std::uint16_t first = 0, second = 0, third = 0;
    ASSERT_EQ(driver->Open("D:", false, &first), 0u);
    EXPECT_EQ(driver->Open("D:", true, &second), mci::ErrMustUseShareable);
    ASSERT_EQ(driver->Close(first), 0u);
    ASSERT_EQ(driver->Open("D:", true, &first), 0u);
    ASSERT_EQ(driver->Open("D:", true, &second), 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(driver->Open("D:", false, &third), mci::ErrMustUseShareable);
    ASSERT_EQ(driver->Close(first), 0u);
    ASSERT_EQ(driver->Close(second), 0u);
    EXPECT_EQ(driver->Open("D:", false, &third), 0u);
}

TEST_F(VirtualDriveTest, FailDirectiveFailsThatCommandOnly) {
    auto driver = Make({std::string(ThreeTracks) + "fail pause 262\nfail set-tmsf 274\n"});
    std::uint16_t id = 0;
    ASSERT_EQ(driver->Open("D:", false, &id), 0u);
    EXPECT_EQ(driver->SetTimeFormat(id, mci::FormatMsf), 0u);
    EXPECT_EQ(driver->SetTimeFormat(id, mci::FormatTmsf), 274u);
    EXPECT_EQ(driver->Pause(id), 262u);
    EXPECT_EQ(driver->Stop(id), 0u);
    char text[129] = {};
    // Natively the texts are winmm's own, as Wine gives them.
    EXPECT_TRUE(driver->ErrorText(262, text, 128));
    EXPECT_STREQ(text, "There is a problem with your media device. Make sure it is working correctly or contact "
                       "the device manufacturer.");
    EXPECT_TRUE(driver->ErrorText(291, text, 128));
    EXPECT_STREQ(text, "The device driver is already in use. To share it, use the 'shareable' parameter with each "
                       "'open' command.");
    EXPECT_TRUE(driver->ErrorText(274, text, 20)); // cut to the buffer
    EXPECT_STREQ(text, "The MCI device you ");
    EXPECT_FALSE(driver->ErrorText(1, text, 128));
    EXPECT_STREQ(text, "");
}

TEST_F(VirtualDriveTest, TracesEveryCommandAndResult) {
    const std::string trace = std::string(::testing::TempDir()) + "virtualcd_trace.txt";
    std::remove(trace.c_str());
    {
        auto driver = Make({"track audio 150\nleadout 13500\nfail pause 262\n"}, 1.0, trace);
        std::uint16_t id = 0;
        ASSERT_EQ(driver->Open("D:", false, &id), 0u);
        driver->SetTimeFormat(id, mci::FormatTmsf);
        std::uint32_t value = 0;
        driver->Status(id, mci::StatusNumberOfTracks, 0, &value);
        // Track 1 from 0:02 to 0:10, then on from where it stands: TMSF, track in the low byte.
        driver->Play(id, true, 0x00020001, 0x000a0001);
        driver->Play(id, false, 0, 0x000a0001);
        driver->Pause(id);
        driver->Close(id);
    }
    std::ifstream file(trace);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), "D: open exclusive -> 0 device 1\n"
                          "D: set time format tmsf -> 0\n"
                          "D: status-tracks -> 0 1\n"
                          "D: play from 00020001 to 000a0001 -> 0\n"
                          "D: play to 000a0001 -> 0\n"
                          "D: pause -> 262\n"
                          "D: close device 1 -> 0\n");
    std::remove(trace.c_str());
}

class VirtualDriveFiles : public VirtualDriveTest {
protected:
    void SetUp() override {
        dir_ = std::string(::testing::TempDir());
        first_ = dir_ + "virtualcd_first.disc";
        second_ = dir_ + "virtualcd_second.disc";
        std::ofstream(first_) << ThreeTracks;
        std::ofstream(second_) << "drive d:\n" << ThreeTracks;
    }
    void TearDown() override {
        unsetenv("TUNOVA_VIRTUAL_CD");
        std::remove(first_.c_str());
        std::remove(second_.c_str());
    }
    std::string dir_, first_, second_;
};

TEST_F(VirtualDriveFiles, NamesTheDrivesOfTheVariableInOrder) {
    setenv("TUNOVA_VIRTUAL_CD", (first_ + " ; ;Z:" + second_ + ";" + dir_ + "missing.disc").c_str(), 1);
    EXPECT_TRUE(VirtualCdEnabled());
    EXPECT_EQ(VirtualCdDriveNames(), (std::vector<std::string>{"E:", "D:", "F:"}));
    auto driver = CreateVirtualCdDriverFromEnvironment();
    std::uint16_t id = 0;
    EXPECT_EQ(driver->Open("E:", false, &id), 0u);
    EXPECT_EQ(driver->Open("D:", false, &id), 0u);
    EXPECT_EQ(driver->Open("F:", false, &id), mci::ErrInvalidFile); // unreadable
    unsetenv("TUNOVA_VIRTUAL_CD");
    EXPECT_FALSE(VirtualCdEnabled());
    EXPECT_TRUE(VirtualCdDriveNames().empty());
}

// Editing the description of a drive in use takes the disc out, as does deleting it.
TEST_F(VirtualDriveFiles, ADiscTakenOutOfARunningDriveReadsAsNoDisc) {
    setenv("TUNOVA_VIRTUAL_CD", (first_ + ";" + second_).c_str(), 1);
    auto driver = CreateVirtualCdDriverFromEnvironment();
    std::uint16_t first = 0, second = 0;
    ASSERT_EQ(driver->Open("E:", false, &first), 0u);
    ASSERT_EQ(driver->Open("D:", false, &second), 0u);
    std::uint32_t mode = 0, present = 0;
    ASSERT_EQ(driver->Status(first, mci::StatusMode, 0, &mode), 0u);
    EXPECT_EQ(mode, mci::ModeStop);

    std::ofstream(first_, std::ios::app) << "nodisc\n";
    ASSERT_EQ(driver->Status(first, mci::StatusMode, 0, &mode), 0u);
    EXPECT_EQ(mode, mci::ModeOpen);
    ASSERT_EQ(driver->Status(first, mci::StatusMediaPresent, 0, &present), 0u);
    EXPECT_EQ(present, 0u);
    // Putting the line back does not put the disc back: a new disc is a new run.
    std::ofstream(first_) << ThreeTracks;
    ASSERT_EQ(driver->Status(first, mci::StatusMode, 0, &mode), 0u);
    EXPECT_EQ(mode, mci::ModeOpen);

    std::remove(second_.c_str());
    ASSERT_EQ(driver->Status(second, mci::StatusMode, 0, &mode), 0u);
    EXPECT_EQ(mode, mci::ModeOpen);
}

// Another program holding the drive exclusively makes it busy here, until it ends.
TEST_F(VirtualDriveFiles, AnotherProcessHoldingTheDriveMakesItBusy) {
    setenv("TUNOVA_VIRTUAL_CD", first_.c_str(), 1);
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto driver = CreateVirtualCdDriverFromEnvironment();
        std::uint16_t id = 0;
        const char opened = driver->Open("D:", false, &id) == 0 ? 'y' : 'n';
        (void)!write(toParent[1], &opened, 1);
        char done = 0;
        (void)!read(toChild[0], &done, 1); // ends without closing: the system lets go
        _exit(0);
    }
    char opened = 0;
    ASSERT_EQ(read(toParent[0], &opened, 1), 1);
    ASSERT_EQ(opened, 'y');
    auto driver = CreateVirtualCdDriverFromEnvironment();
    std::uint16_t id = 0;
    EXPECT_EQ(driver->Open("D:", false, &id), mci::ErrMustUseShareable);
    EXPECT_EQ(driver->Open("D:", true, &id), mci::ErrMustUseShareable);
    const char done = 'x';
    ASSERT_EQ(write(toChild[1], &done, 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(driver->Open("D:", false, &id), 0u);
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) close(fd);
}

} // namespace
