// The line reader and writers against a scripted server on a real loopback socket.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "log/logfile.h"
#include "cddb/lineio.h"
#include "tests/support/loopbackserver.h"

namespace {

using loopback::Step;

std::atomic<int> waitCount{0};

// Counts the waits and passes them to the real select().
int CountingWait(SocketHandle s, int seconds) {
    ++waitCount;
    return SystemSocketWait(s, seconds);
}
// The real select() for the first wait, then looks without waiting: a reply that has
// begun and then stalls runs out of attempts in no time.
int RealOnceThenPolling(SocketHandle s, int seconds) {
    return ++waitCount == 1 ? SystemSocketWait(s, seconds) : SystemSocketWait(s, 0);
}
// Looks once without waiting: silence reads as one 2-second time-out, in no time.
int PollingWait(SocketHandle s, int) {
    ++waitCount;
    return SystemSocketWait(s, 0);
}

class LineIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        logPath_ = ::testing::TempDir() + "/cddb-lineio.log";
        std::remove(logPath_.c_str());
        SetLogFilePath(logPath_);
        waitCount = 0;
    }
    void TearDown() override {
        InstallSocketWait(nullptr);
        if (client_ != NoSocket) CloseSocket(client_);
        server_.reset();
        SetLogFilePath("");
    }

    void Serve(std::vector<Step> steps) {
        server_ = std::make_unique<loopback::Server>(std::move(steps));
        std::uint32_t address = 0;
        ASSERT_TRUE(ResolveHostAddress("127.0.0.1", &address));
        client_ = CreateStreamSocket();
        ASSERT_NE(client_, NoSocket);
        ASSERT_TRUE(ConnectSocket(client_, address, server_->Port()));
    }

    std::string Log() {
        std::ifstream in(logPath_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::unique_ptr<loopback::Server> server_;
    SocketHandle client_ = NoSocket;
    ResponseReader reader_;
    std::string logPath_;
};

Step Send(const std::string& text) { return {Step::Send, text, 0}; }
Step Pause(int ms) { return {Step::Pause, "", ms}; }

TEST_F(LineIoTest, TwoLinesInOneSegmentNeedOneReceive) {
    Serve({Send("200 rock 1a2b3c03 Title\r\nrock 1a2b3c03 x\r\n")});
    InstallSocketWait(CountingWait);
    EXPECT_EQ(ReadResponseLine(reader_, client_), 25);
    EXPECT_STREQ(reader_.line, "200 rock 1a2b3c03 Title\n");
    EXPECT_EQ(waitCount, 1);
    EXPECT_EQ(ReadResponseLine(reader_, client_), 17);
    EXPECT_STREQ(reader_.line, "rock 1a2b3c03 x\n");
    EXPECT_EQ(waitCount, 1) << "the second line came from the block";
}

TEST_F(LineIoTest, LineCutByTheNetworkComesInTwoPieces) {
    Serve({Send("210 rock 1"), Pause(200), Send("a2b3c03 entry follows\r\n")});
    EXPECT_EQ(ReadResponseLine(reader_, client_), 10);
    EXPECT_STREQ(reader_.line, "210 rock 1");
    EXPECT_EQ(ReadResponseLine(reader_, client_), 23);
    EXPECT_STREQ(reader_.line, "a2b3c03 entry follows\n");
}

TEST_F(LineIoTest, BareLineFeedIsALineOfItsOwn) {
    Serve({Send("\n.\r\n")});
    EXPECT_EQ(ReadResponseLine(reader_, client_), 1);
    EXPECT_STREQ(reader_.line, "\n");
    EXPECT_EQ(ReadResponseLine(reader_, client_), 3);
    EXPECT_STREQ(reader_.line, ".\n");
}

TEST_F(LineIoTest, ClosedConnectionFailsWithoutLogLine) {
    Serve({Send("partial"), {Step::Close, "", 0}});
    EXPECT_EQ(ReadResponseLine(reader_, client_), 7);
    EXPECT_EQ(ReadResponseLine(reader_, client_), 0);
    EXPECT_EQ(Log(), "");
}

TEST_F(LineIoTest, SilenceGivesUpAfterThirtyWaitsLoggedOnce) {
    Serve({});
    InstallSocketWait(PollingWait);
    EXPECT_EQ(ReadResponseLine(reader_, client_), 0);
    EXPECT_EQ(waitCount, 30);
    EXPECT_EQ(Log(), "Reached retry limit.\r\n");
}

TEST_F(LineIoTest, EveryLineFitsItsBufferWhateverTheServerSends) {
    // 3000 bytes of garbage without a line end, bytes of every value but "\n".
    std::string garbage;
    for (int i = 0; i < 3000; ++i) garbage += static_cast<char>(i % 256 == '\n' ? 'x' : i % 256 ? i % 256 : 1);
    Serve({Send(garbage), {Step::Close, "", 0}});
    std::size_t total = 0;
    for (int taken; (taken = ReadResponseLine(reader_, client_)) > 0;) {
        ASSERT_LE(taken, ReceiveSize);
        ASSERT_LE(std::strlen(reader_.line), static_cast<std::size_t>(ReceiveSize));
        total += static_cast<std::size_t>(taken);
    }
    EXPECT_EQ(total, garbage.size());
}

TEST_F(LineIoTest, CheckStatusLineFollowsContinuation) {
    struct Case {
        const char* status;
        std::string follows;
        int accepted;
    } cases[] = {
        {"200 OK\n", "", 1},
        {"210 entries follow\n", "200 done\r\n", 1},
        {"210 entries follow\n", "401 refused\r\n", 0},
        {"210 entries follow\n", "  \t201 fine after separators\r\n", 1},
        {"210 entries follow\n", "211 more\r\n200 done\r\n", 1},
        {"210 entries follow\n", "rock 1a2b3c03 Title\r\n", 0},
        {"2x0 not a code\n", "", 0},
        {"20", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        Serve({Send(c.follows)});
        ResetResponseReader(reader_);
        EXPECT_EQ(CheckStatusLine(c.status, reader_, client_), c.accepted);
        CloseSocket(client_);
        client_ = NoSocket;
        server_.reset();
    }
}

// The lines read for a status are logged as every received line is, the refused one too.
TEST_F(LineIoTest, CheckStatusLineLogsTheLinesItReads) {
    Serve({Send("211 more\r\n  401 refused\r\n")});
    EXPECT_EQ(CheckStatusLine("210 entries follow\n", reader_, client_), 0);
    EXPECT_EQ(Log(), "Received:  211 more\n\r\nReceived:    401 refused\n\r\n");
}

TEST_F(LineIoTest, CheckStatusLineRejectsNonDigitsWithoutReading) {
    Serve({});
    InstallSocketWait(CountingWait);
    EXPECT_EQ(CheckStatusLine("x10 odd\n", reader_, client_), 0);
    EXPECT_EQ(waitCount, 0);
}

TEST_F(LineIoTest, SmtpReplyWithContinuationInOneReceive) {
    Serve({Send("250-mail.example.org Hello\r\n250 HELP\r\n")});
    char reply[SmtpReplySize];
    const char* final = ReadSmtpReply(reply, client_);
    ASSERT_NE(final, nullptr);
    EXPECT_STREQ(final, "250 HELP\r\n");
    EXPECT_EQ(final, reply + 28);
    EXPECT_EQ(Log(), "");
}

TEST_F(LineIoTest, SmtpReplyWhoseFirstLineArrivesAloneIsLoggedAndReadAgain) {
    Serve({Send("250-mail.example.org Hello\r\n"), Pause(200), Send("250 HELP\r\n")});
    char reply[SmtpReplySize];
    const char* final = ReadSmtpReply(reply, client_);
    ASSERT_NE(final, nullptr);
    EXPECT_STREQ(final, "250 HELP\r\n");
    EXPECT_EQ(Log(), "Received:  250-mail.example.org Hello\r\n\r\n");
}

TEST_F(LineIoTest, SmtpReplyWhoseLineEndComesLater) {
    Serve({Send("220 mail.example.org ESMTP"), Pause(200), Send("\r\n")});
    char reply[SmtpReplySize];
    const char* final = ReadSmtpReply(reply, client_);
    ASSERT_NE(final, nullptr);
    EXPECT_STREQ(final, "220 mail.example.org ESMTP\r\n");
}

TEST_F(LineIoTest, SmtpReplyThatNeverEndsGivesUp) {
    Serve({Send("250 mail.example.org is stalling"), Pause(500)});
    InstallSocketWait(RealOnceThenPolling);
    char reply[SmtpReplySize];
    EXPECT_EQ(ReadSmtpReply(reply, client_), nullptr);
    EXPECT_EQ(waitCount, 31) << "one wait that saw data, then a full round of silence";
    EXPECT_EQ(Log(), "Reached retry limit.\r\n");
}

TEST_F(LineIoTest, SmtpReplyOfEndlessContinuationLinesGivesUp) {
    std::vector<Step> steps;
    for (int i = 0; i < SmtpReplyLineLimit + 6; ++i) {
        steps.push_back(Send("250-still going\r\n"));
        steps.push_back(Pause(10));
    }
    steps.push_back(Send("250 too late\r\n"));
    Serve(steps);
    char reply[SmtpReplySize];
    const char* final = ReadSmtpReply(reply, client_);
    server_->Finish(); // the whole script is sent before the client closes
    EXPECT_EQ(final, nullptr);
    const std::string log = Log();
    EXPECT_EQ(log.substr(log.size() - 22), "Reached retry limit.\r\n");
}

TEST_F(LineIoTest, SmtpReplyLongerThanTheBufferFails) {
    Serve({Send(std::string(1100, 'a')), Pause(300)});
    char reply[SmtpReplySize];
    EXPECT_EQ(ReadSmtpReply(reply, client_), nullptr);
}

TEST_F(LineIoTest, KeyedValueIsSplitInto78CharacterLines) {
    Serve({{Step::Expect, "", 0}, {Step::Expect, "", 0}, {Step::Expect, "", 0}, {Step::Expect, "", 0}});
    const std::string value = std::string(71, 'a') + std::string(71, 'b') + std::string(8, 'c');
    EXPECT_EQ(SendKeyedValue("DTITLE=", value.c_str(), client_), 1);
    EXPECT_EQ(SendKeyedValue("TTITLE12=", "", client_), 1);
    CloseSocket(client_);
    client_ = NoSocket;
    server_->Finish();
    const std::vector<std::string> expected = {
        "DTITLE=" + std::string(71, 'a') + "\r\n",
        "DTITLE=" + std::string(71, 'b') + "\r\n",
        "DTITLE=cccccccc\r\n",
        "TTITLE12=\r\n",
    };
    EXPECT_EQ(server_->Transcript(), expected);
    EXPECT_EQ(Log(), "Sending:  " + expected[0] + "\r\nSending:  " + expected[1] + "\r\nSending:  " + expected[2] +
                         "\r\nSending:  " + expected[3] + "\r\n");
}

TEST_F(LineIoTest, SendToAClosedPeerFails) {
    Serve({{Step::Close, "", 0}});
    server_->Finish();
    const std::string big(1 << 20, 'x');
    int result = 1;
    for (int i = 0; i < 20 && result; ++i) result = SendAll(client_, big.data(), static_cast<int>(big.size()));
    EXPECT_EQ(result, 0);
}

TEST(SeparatorTest, ControlBlankAndNonAsciiSeparateWords) {
    for (int c = 0; c < 256; ++c) {
        const bool expected = c <= 32 || c >= 128;
        EXPECT_EQ(IsSeparator(static_cast<unsigned char>(c)), expected) << c;
    }
}

} // namespace
