// The mail exchange against a scripted SMTP server on loopback: the dialogue, what goes
// over the wire, and the one status text each refusal ends with.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "cddb/submit.h"
#include "submitsetup.h"
#include "tests/support/loopbackserver.h"
#include "tests/support/posix/unusedport.h"

namespace {

using namespace submittest;
using loopback::Step;

Step Reply(const std::string& text) { return {Step::Send, text}; }
Step Line() { return {Step::Expect, ""}; }

// The stages of the dialogue as the server sees them.
enum Stage { Greeting, Helo, Mail, Rcpt, Data, DataEnd, Quit, Done };

// A server that accepts everything up to failAt, where it answers with bad instead (or
// hangs up when bad is empty), and stops.
std::vector<Step> Script(std::size_t dataLines, Stage failAt = Done, const std::string& bad = "") {
    const std::vector<std::string> good = {"220-peer.test first line\r\n220 peer.test ready\r\n",
                                           "250 peer.test\r\n",
                                           "250 sender ok\r\n",
                                           "250 recipient ok\r\n",
                                           "354 end with <CRLF>.<CRLF>\r\n",
                                           "250 queued\r\n",
                                           "221 bye\r\n"};
    std::vector<Step> steps;
    for (int stage = Greeting; stage < Done; ++stage) {
        const std::size_t lines = stage == Greeting ? 0 : stage == DataEnd ? dataLines + 1 : 1;
        for (std::size_t i = 0; i < lines; ++i) steps.push_back(Line());
        if (stage == failAt) {
            steps.push_back(bad.empty() ? Step{Step::Close, ""} : Reply(bad));
            return steps;
        }
        steps.push_back(Reply(good[static_cast<std::size_t>(stage)]));
    }
    return steps;
}

class ConversationTest : public SubmitTest {
protected:
    void SetUp() override {
        SubmitTest::SetUp();
        request = Request(2);
        entry = XmcdEntryText(request.disc);
        // The five header lines and the entry's lines.
        dataLines = 5 + static_cast<std::size_t>(std::count(entry.begin(), entry.end(), '\n'));
    }

    // Runs the whole exchange against the script; returns what the server received.
    std::vector<std::string> Converse(std::vector<Step> steps) {
        loopback::Server server(std::move(steps));
        request.port = server.Port();
        ConverseWithSmtpServer(request, FixedHelo);
        server.Finish();
        return server.Transcript();
    }

    SubmitRequest request;
    std::string entry;
    std::size_t dataLines = 0;
};

const std::vector<std::string> StatusesUpToData = {
    "Looking for SMTP Server.",           "Connecting to SMTP Server.",
    "Successful sign-on to SMTP server.", "Sending HELO command.",
    "Successfuly received HELO response.", "Sending MAIL command.",
    "Successfuly received MAIL response.", "Sending RCPT command.",
    "Successfuly received RCPT response.", "Sending DATA command.",
    "Successfuly received DATA response."};

TEST_F(ConversationTest, WholeExchangeSendsTheMailAndEndsSubmitted) {
    const std::vector<std::string> received = Converse(Script(dataLines));
    ASSERT_EQ(received.size(), 4 + dataLines + 2);
    EXPECT_EQ(received[0], "HELO studio.example.org\r\n");
    EXPECT_EQ(received[1], "MAIL FROM: <listener@home.example>\r\n");
    EXPECT_EQ(received[2], "RCPT TO: <cddb-submit@db.example>\r\n");
    EXPECT_EQ(received[3], "DATA\r\n");
    EXPECT_TRUE(std::regex_match(received[4],
                                 std::regex("Date: \\d\\d [A-Z][a-z][a-z] \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}\r\n")))
        << received[4];
    EXPECT_EQ(received[5], "From: <listener@home.example>\r\n");
    EXPECT_EQ(received[6], "Subject: cddb rock 9c0b330c\r\n");
    EXPECT_EQ(received[7], "To: <cddb-submit@db.example>\r\n");
    EXPECT_EQ(received[8], "\r\n");
    std::string body;
    for (std::size_t i = 9; i < 4 + dataLines; ++i) body += received[i];
    EXPECT_EQ(body, FileText(Root + "/tests/data/submit/album.xmcd"));
    EXPECT_EQ(received[4 + dataLines], ".\r\n");
    EXPECT_EQ(received[5 + dataLines], "QUIT\r\n");

    std::vector<std::string> expected = StatusesUpToData;
    expected.insert(expected.end(), {"Successfuly sent mail data.", "Successfuly submitted entry."});
    EXPECT_EQ(RecordedStatuses(), expected);

    const std::vector<std::string> log = LogLines();
    for (const char* line : {"Address returned:  127.0.0.1", "Sending:  HELO studio.example.org",
                             "Received:  220-peer.test first line", "220 peer.test ready",
                             "Sending:  #\t150", "Received:  221 bye",
                             "Successfully sent the CD information to cddb."}) {
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
    }
}

struct Refusal {
    Stage stage;
    const char* reply; // empty: the server hangs up
    const char* status;
};

class RefusalTest : public ConversationTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, EndsWithItsStatusAndSendsNothingMore) {
    const Refusal refusal = GetParam();
    const std::vector<std::string> received = Converse(Script(dataLines, refusal.stage, refusal.reply));
    const std::vector<std::string> all = RecordedStatuses();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), refusal.status);
    EXPECT_EQ(SubmitStatusText(), refusal.status);
    // What was sent: the lines of the stages before, and nothing after the refusal.
    const std::size_t sentLines = refusal.stage == Greeting ? 0
                                  : refusal.stage <= Data   ? static_cast<std::size_t>(refusal.stage)
                                  : refusal.stage == DataEnd ? 4 + dataLines + 1
                                                             : 4 + dataLines + 2;
    EXPECT_EQ(received.size(), sentLines);
    const std::vector<std::string> log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), refusal.status), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "Successfully sent the CD information to cddb."), log.end());
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, RefusalTest,
    ::testing::Values(Refusal{Greeting, "554 go away\r\n", "Illegal SMTP server sign-on response."},
                      Refusal{Greeting, "", "Unable to read SMTP server sign-on."},
                      Refusal{Helo, "501 who\r\n", "Illegal HELO response."},
                      Refusal{Helo, "", "Unable to receive HELO response."},
                      Refusal{Mail, "553 no such sender\r\n", "Illegal MAIL response."},
                      Refusal{Mail, "", "Unable to receive MAIL response."},
                      Refusal{Rcpt, "550 unknown\r\n", "Illegal RCPT response."},
                      Refusal{Rcpt, "", "Unable to receive RCPT response."},
                      // 250 instead of 354: no header goes out.
                      Refusal{Data, "250 ok\r\n", "Illegal DATA response."},
                      Refusal{Data, "", "Unable to receive DATA response."},
                      Refusal{DataEnd, "552 too big\r\n", "Illegal DATA terminator response."},
                      Refusal{DataEnd, "", "Unable to receive DATA terminator response."}));

class QuitFailureTest : public ConversationTest, public ::testing::WithParamInterface<Refusal> {};

// The server answered the data with 250: the mail is on its way, whatever QUIT brings.
TEST_P(QuitFailureTest, AfterTheMailWasTakenTheEntryCountsAsSubmitted) {
    const Refusal refusal = GetParam();
    const std::vector<std::string> received = Converse(Script(dataLines, refusal.stage, refusal.reply));
    EXPECT_EQ(received.size(), 4 + dataLines + 2);
    std::vector<std::string> expected = StatusesUpToData;
    expected.insert(expected.end(), {"Successfuly sent mail data.", "Successfuly submitted entry."});
    EXPECT_EQ(RecordedStatuses(), expected);
    const std::vector<std::string> log = LogLines();
    const auto quitFailure = std::find(log.begin(), log.end(), refusal.status);
    const auto success = std::find(log.begin(), log.end(), "Successfully sent the CD information to cddb.");
    EXPECT_NE(quitFailure, log.end()) << "the failure is still logged";
    EXPECT_NE(success, log.end());
    EXPECT_LT(quitFailure, success);
}

INSTANTIATE_TEST_SUITE_P(Quit, QuitFailureTest,
                         ::testing::Values(Refusal{Quit, "500 what\r\n", "Illegal QUIT response."},
                                           Refusal{Quit, "", "Error receiving QUIT response."}));

// A server that sends its greeting a byte at a time, each within the wait rule, is
// given up at the conversation's time limit instead of holding the submission.
TEST_F(ConversationTest, TricklingServerIsGivenUpAtTheTimeLimit) {
    std::vector<Step> steps;
    for (const char c : std::string(100, 'x')) {
        steps.push_back(Reply(std::string(1, c)));
        steps.push_back({Step::Pause, "", 100});
    }
    loopback::Server server(std::move(steps));
    request.port = server.Port();
    SetSmtpConversationLimit(1);
    const auto start = std::chrono::steady_clock::now();
    ConverseWithSmtpServer(request, FixedHelo);
    const auto took = std::chrono::steady_clock::now() - start;
    SetSmtpConversationLimit(0);
    server.Finish();
    // The trickle alone would take 10 seconds.
    EXPECT_LT(took, std::chrono::seconds(8));
    EXPECT_EQ(SubmitStatusText(), "Unable to read SMTP server sign-on.");
    const std::vector<std::string> log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "SMTP conversation passed its time limit."), log.end());
}

TEST_F(ConversationTest, ServerThatCannotBeReachedOrFoundEndsEarly) {
    request.port = UnusedPort();
    ConverseWithSmtpServer(request, FixedHelo);
    request.serverName = "";
    ConverseWithSmtpServer(request, FixedHelo);
    const std::vector<std::string> expected = {"Looking for SMTP Server.", "Connecting to SMTP Server.",
                                               "Unable to conect to server.", "Looking for SMTP Server.",
                                               "Unable to locate server."};
    EXPECT_EQ(RecordedStatuses(), expected);
}

TEST_F(ConversationTest, TitlesWithLineBreaksAndDotsCannotEndTheDataEarly) {
    DiscInfo().trackTitles[0] = std::string("\r\n.\r\nQUIT");
    request = Request(2);
    const std::vector<std::string> received = Converse(Script(dataLines));
    // The title stays one line and the terminator is the server's only "." line.
    EXPECT_EQ(std::count(received.begin(), received.end(), std::string(".\r\n")), 1);
    EXPECT_NE(std::find(received.begin(), received.end(), "TTITLE0=  .  QUIT\r\n"), received.end());
    EXPECT_EQ(SubmitStatusText(), "Successfuly submitted entry.");
}

} // namespace
