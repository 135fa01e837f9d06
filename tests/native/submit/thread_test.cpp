// The submission thread's start guard, its end and whom it tells.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "cddb/submit.h"
#include "cddb/submitstate.h"
#include "cddb/submitthread.h"
#include "ui/properties/pages.h"
#include "submitsetup.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/posix/silentpeer.h"

namespace {

using namespace submittest;

WindowHandle const SubmitPage = reinterpret_cast<WindowHandle>(0x51);
WindowHandle const QueryPage = reinterpret_cast<WindowHandle>(0x52);

void SetSubmitPage(WindowHandle page) { PropertyPages().submitPage = page; }
void SetQueryPage(WindowHandle page) { PropertyPages().queryPage = page; }

// Each end's message, with whether the submission still counted as running then.
using EndRecorder = MessageRecorder<std::int32_t>;

class SubmitThreadTest : public SubmitTest {
protected:
    void SetUp() override {
        SubmitTest::SetUp();
        // No server name: each submission ends at once, before any connection.
        ProgramOptions().smtpServerName.clear();
        Submission().submitCategoryIndex = 2;
        InstallWindowMessageSender(&recorder);
        SetSubmitEndNotifier(NotifyPageOfSubmitEnd);
    }
    void TearDown() override {
        JoinSubmission(nullptr);
        InstallWindowMessageSender(nullptr);
        SetSubmitEndNotifier(nullptr);
        ClearActivePages();
        Submission().submitRunning = 0;
        Submission().submitCategoryIndex = 0;
        SubmitTest::TearDown();
    }
    EndRecorder recorder{[] { return std::int32_t{Submission().submitRunning}; }};
};

TEST_F(SubmitThreadTest, EndClearsTheFlagThenTellsTheSubmitPageFirst) {
    SetSubmitPage(SubmitPage);
    SetQueryPage(QueryPage);
    Submission().submitRunning = 1;
    EXPECT_EQ(SubmitThread(), 1u);
    SetSubmitPage(nullptr);
    Submission().submitRunning = 1;
    SubmitThread();
    SetQueryPage(nullptr);
    Submission().submitRunning = 1;
    SubmitThread();

    const EndRecorder::Sents ends = recorder.All();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].window, SubmitPage);
    EXPECT_EQ(ends[1].window, QueryPage);
    for (const EndRecorder::Sent& sent : ends) {
        EXPECT_EQ(sent.message, WorkEndedPageMessage);
        EXPECT_EQ(sent.moment, 0) << "still running when the page was told";
    }
    EXPECT_EQ(Submission().submitRunning, 0);
    EXPECT_EQ(SubmitStatusText(), "Unable to locate server.");
    const std::vector<std::string> log = LogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Sending current CD information to SMTP server."), 3);
}

TEST_F(SubmitThreadTest, StartsOnlyWhenNoSubmissionRuns) {
    SetSubmitPage(SubmitPage);
    Submission().submitRunning = 1;
    EXPECT_EQ(StartSubmitThread(), 0);
    EXPECT_EQ(Submission().submitRunning, 1);

    Submission().submitRunning = 0;
    ASSERT_EQ(StartSubmitThread(), 1);
    const EndRecorder::Sents ends = recorder.WaitFor(1, std::chrono::seconds(20));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].window, SubmitPage);
    EXPECT_EQ(ends[0].moment, 0);
}

// The submission as its thread runs it, but mailed to a peer on a port of the test's.
SubmitRequest stalledRequest;
void SubmitToStalledPeer() { ConverseWithSmtpServer(stalledRequest, FixedHelo); }

TEST_F(SubmitThreadTest, ShutdownDuringAStalledServerEndsTheSubmissionBeforeTheDeviceCloses) {
    SilentPeer stalled;
    ASSERT_NE(stalled.Port(), 0);
    stalledRequest = Request(2);
    stalledRequest.serverName = "127.0.0.1";
    stalledRequest.port = stalled.Port();
    ASSERT_TRUE(Submission().workers.Start(SubmitToStalledPeer));
    ASSERT_TRUE(stalled.WaitForConnection());

    const auto started = std::chrono::steady_clock::now();
    CancelSubmission();
    JoinSubmission(nullptr);
    // Waiting out the silence rule would take a minute.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(SubmitStatusText(), "Unable to read SMTP server sign-on.");
    CloseCdDevice();
}

} // namespace
