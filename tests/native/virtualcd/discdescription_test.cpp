#include "platform/virtualcd/discdescription.h"

#include <gtest/gtest.h>

#include "platform/virtualcd/pathforms.h"
#include "platform/virtualcd/virtualcddriver.h"

TEST(DiscDescription, ReadsEveryDirective) {
    DiscDescription disc;
    std::string error;
    ASSERT_TRUE(ParseDiscDescription("# a test disc\n"
                                     "drive e:   # its letter\n"
                                     "identity 305419896\n"
                                     "track audio 150\r\n"
                                     "  track   data 18787\n"
                                     "\n"
                                     "leadout 36077\n"
                                     "nodisc\nbusy\nnotready\n"
                                     "fail status-tracks 274\n",
                                     &disc, &error))
        << error;
    EXPECT_EQ(disc.letter, 'E');
    EXPECT_EQ(disc.identity, "305419896");
    ASSERT_EQ(disc.tracks.size(), 2u);
    EXPECT_TRUE(disc.tracks[0].audio);
    EXPECT_EQ(disc.tracks[0].startFrame, 150);
    EXPECT_FALSE(disc.tracks[1].audio);
    EXPECT_EQ(disc.tracks[1].startFrame, 18787);
    EXPECT_EQ(disc.leadOut, 36077);
    EXPECT_TRUE(disc.noDisc && disc.busy && disc.notReady);
    EXPECT_EQ(InjectedFailure(disc, "status-tracks"), 274u);
    EXPECT_EQ(InjectedFailure(disc, "status-type"), 0u);
}

TEST(DiscDescription, RefusesWhatNoDriveCouldReport) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"track audio 150\ntrack audio 100\nleadout 500\n", "line 2: track starts must rise"},
        {"track audio 150\nleadout 151\n", "the lead-out must lie past the last track's start"},
        {"track audio 150\n", "the lead-out must lie past the last track's start"},
        {"track music 150\n", "line 1: expected audio or data"},
        {"track audio -1\n", "line 1: expected a start frame"},
        {"track audio 12x\n", "line 1: expected a start frame"},
        {"drive 5:\n", "line 1: expected a drive such as E:"},
        {"fail eject 274\n", "line 1: unknown command eject"},
        {"fail play 0\n", "line 1: expected an MCI error code"},
        {"nodisc please\n", "line 1: takes no arguments"},
        {"spin 3\n", "line 1: unknown directive spin"},
        {"identity twelve\n", "line 1: expected a decimal media identity"},
        {"leadout 5 6 7\n", "line 1: too many words"},
        {"track audio 150\npregap 10\nleadout 500\n", "line 2: a pregap follows a track after the first"},
        {"track audio 150\ntrack audio 300\npregap 150\nleadout 500\n",
         "line 3: expected a pregap shorter than the track before"},
        {"track audio 150\nsession 2\ntrack data 11000\nleadout 20000\n",
         "line 3: the session gap does not fit in the track before"},
        {"session 2\n", "line 1: expected session 2 after the first session's tracks"},
        {"track audio 150\nsession 3\n", "line 2: expected session 2 after the first session's tracks"},
        {"settle -1\n", "line 1: expected milliseconds from 0 to 60000"},
        {"seek 60001\n", "line 1: expected milliseconds from 0 to 60000"},
    };
    for (const auto& c : cases) {
        DiscDescription disc;
        std::string error;
        EXPECT_FALSE(ParseDiscDescription(c.text, &disc, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    std::string tooMany;
    for (int i = 0; i < 100; ++i) tooMany += "track audio " + std::to_string(150 + i * 100) + "\n";
    DiscDescription disc;
    std::string error;
    EXPECT_FALSE(ParseDiscDescription(tooMany + "leadout 20000\n", &disc, &error));
    EXPECT_EQ(error, "line 100: more than 99 tracks");
}

TEST(DiscDescription, ReportsTheLastTrackOneFrameShort) {
    DiscDescription disc;
    std::string error;
    ASSERT_TRUE(ParseDiscDescription("track audio 150\ntrack audio 18787\nleadout 36077\n", &disc, &error));
    EXPECT_EQ(ReportedLengthFrames(disc, 0), 18637);
    EXPECT_EQ(ReportedLengthFrames(disc, 1), 36077 - 18787 - 1);
}

// Index 0 of a track shortens the track before it; the tracks after "session 2" lie
// in the second session, behind the gap of lead-out and lead-in.
TEST(DiscDescription, PregapsAndSessionsShapeWhatPlaysAsAudio) {
    DiscDescription disc;
    std::string error;
    ASSERT_TRUE(ParseDiscDescription("settle 2000\nseek 300\n"
                                     "track audio 150\ntrack audio 18787\npregap 150\n"
                                     "track audio 30000\nsession 2\ntrack data 60000\nleadout 70000\n",
                                     &disc, &error))
        << error;
    EXPECT_EQ(disc.settleMs, 2000);
    EXPECT_EQ(disc.seekMs, 300);
    EXPECT_EQ(disc.tracks[1].pregapFrames, 150);
    EXPECT_EQ(disc.tracks[2].session, 1);
    EXPECT_EQ(disc.tracks[3].session, 2);
    EXPECT_EQ(ReportedLengthFrames(disc, 0), 18787 - 150 - 150); // up to track 2's index 0
    EXPECT_EQ(ReportedLengthFrames(disc, 2), 30000);              // the session gap included

    EXPECT_TRUE(AudioRange(disc, 150, 30000));                    // through a pregap
    EXPECT_TRUE(AudioRange(disc, 30000, 60000 - SessionGapFrames));
    EXPECT_FALSE(AudioRange(disc, 30000, 60000 - SessionGapFrames + 1)); // into the gap
    EXPECT_FALSE(AudioRange(disc, 50000, 60000));
    EXPECT_FALSE(AudioRange(disc, 60000, 65000));                 // the data track
    EXPECT_FALSE(AudioRange(disc, 100, 200));                     // before the first track

    ASSERT_TRUE(ParseDiscDescription("track audio 150\ntrack data 1000\npregap 150\ntrack audio 2000\n"
                                     "leadout 3000\n",
                                     &disc, &error));
    EXPECT_TRUE(AudioRange(disc, 150, 850));
    EXPECT_FALSE(AudioRange(disc, 150, 851)); // the data track's pregap is data
    EXPECT_TRUE(AudioRange(disc, 2000, 2999));
}

TEST(DiscDescription, MediaIdentityFollowsTheWindowsRule) {
    const struct {
        const char* text;
        const char* identity;
    } cases[] = {
        // Three tracks or more: the packed starts alone. 0:02.00, 4:10.37, 8:01.02.
        {"track audio 150\ntrack audio 18787\ntrack audio 36077\nleadout 56475\n",
         "789799"}, // 0x200 + 0x40A25 + 0x80102
        // Fewer: plus the first start's frame field and the frames from it to the lead-out.
        {"track audio 150\nleadout 13500\n", "13862"},                    // 0x200 + 0 + 13350
        {"track audio 160\ntrack data 20000\nleadout 40000\n", "309222"}, // 0x20A + 0x41A32 + 10 + 39840
        {"identity -1\ntrack audio 150\nleadout 13500\n", "-1"},
        {"leadout 0\n", "0"},
    };
    for (const auto& c : cases) {
        DiscDescription disc;
        std::string error;
        ASSERT_TRUE(ParseDiscDescription(c.text, &disc, &error)) << error;
        EXPECT_EQ(MediaIdentityText(disc), c.identity) << c.text;
    }
}

TEST(AssignDriveNames, KeepsAskedLettersAndFillsFromD) {
    EXPECT_EQ(AssignDriveNames({0, 'E', 0, 'd'}), (std::vector<std::string>{"F:", "E:", "G:", "D:"}));
    EXPECT_EQ(AssignDriveNames({'E', 'E'}), (std::vector<std::string>{"E:", "D:"}));
    EXPECT_EQ(AssignDriveNames({0, 0}), (std::vector<std::string>{"D:", "E:"}));
    EXPECT_EQ(AssignDriveNames({'Z', 0}), (std::vector<std::string>{"Z:", "D:"}));
}

TEST(PathForms, AcceptsBothSidesOfWine) {
    EXPECT_EQ(PosixFormOfPath("Z:\\work\\main\\samples\\discs\\album.disc"), "/work/main/samples/discs/album.disc");
    EXPECT_EQ(PosixFormOfPath("/work/a.disc"), "/work/a.disc");
    EXPECT_EQ(PosixFormOfPath("discs\\a.disc"), "discs/a.disc");
    EXPECT_EQ(WindowsFormOfPath("/work/a.disc"), "Z:\\work\\a.disc");
    EXPECT_EQ(WindowsFormOfPath("C:\\a.disc"), "C:\\a.disc");
}
