// The cddb client over real Windows Sockets: the line reader and whole conversations
// against a scripted loopback server.
#include <gtest/gtest.h>

#include <winsock.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "cdaudio/cddevice.h"
#include "cddb/lineio.h"
#include "cddb/localdb.h"
#include "discinfo/discinfo.h"
#include "platform/sockets.h"
#include "platform/sysnames.h"
#include "tests/support/protocolrunner.h"

namespace {

using loopback::Step;

int polls = 0;
int Polling(SocketHandle s, int) {
    ++polls;
    return SystemSocketWait(s, 0);
}

// Each test holds its own use of the socket layer for the scripted server's side.
class WinsockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SocketStartup()); }
    void TearDown() override {
        InstallSocketWait(nullptr);
        if (client_ != NoSocket) CloseSocket(client_);
        server_.reset();
        SocketCleanup();
    }
    void Serve(std::vector<Step> steps) {
        server_ = std::make_unique<loopback::Server>(std::move(steps));
        std::uint32_t address = 0;
        ASSERT_TRUE(ResolveHostAddress("127.0.0.1", &address));
        client_ = CreateStreamSocket();
        ASSERT_NE(client_, NoSocket);
        ASSERT_TRUE(ConnectSocket(client_, address, server_->Port()));
    }
    std::unique_ptr<loopback::Server> server_;
    SocketHandle client_ = NoSocket;
    ResponseReader reader_;
};

TEST_F(WinsockTest, LinesFromOneSegmentAndFromACutOne) {
    Serve({{Step::Send, "200 rock 1a2b3c03 Title\r\nrock", 0}, {Step::Pause, "", 200}, {Step::Send, " x\r\n", 0}});
    EXPECT_EQ(ReadResponseLine(reader_, client_), 25);
    EXPECT_STREQ(reader_.line, "200 rock 1a2b3c03 Title\n");
    EXPECT_EQ(ReadResponseLine(reader_, client_), 4);
    EXPECT_STREQ(reader_.line, "rock");
    EXPECT_EQ(ReadResponseLine(reader_, client_), 4);
    EXPECT_STREQ(reader_.line, " x\n");
}

TEST_F(WinsockTest, SilenceReachesTheRetryLimit) {
    Serve({});
    polls = 0;
    InstallSocketWait(Polling);
    EXPECT_EQ(ReadResponseLine(reader_, client_), 0);
    EXPECT_EQ(polls, 30);
}

TEST_F(WinsockTest, SmtpReplyAndKeyedLines) {
    Serve({{Step::Send, "250-first\r\n250 last\r\n", 0}, {Step::Expect, "", 0}, {Step::Expect, "", 0}});
    char reply[SmtpReplySize];
    const char* final = ReadSmtpReply(reply, client_);
    ASSERT_NE(final, nullptr);
    EXPECT_STREQ(final, "250 last\r\n");
    const std::string value(100, 'v');
    EXPECT_EQ(SendKeyedValue("DTITLE=", value.c_str(), client_), 1);
    CloseSocket(client_);
    client_ = NoSocket;
    server_->Finish();
    EXPECT_EQ(server_->Transcript(), (std::vector<std::string>{"DTITLE=" + std::string(71, 'v') + "\r\n",
                                                               "DTITLE=" + std::string(29, 'v') + "\r\n"}));
}

// Case files name the source tree by its host path; Wine sees it on drive Z:.
std::string CasePath(const std::string& name) {
    return std::string("Z:") + TUNOVA_SOURCE_DIR + "/tests/data/cddb/protocol/" + name + ".case";
}

class ConversationTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ConversationTest, GoesAsWritten) {
    ProtocolCase c = ParseProtocolCase(CasePath(GetParam()), GetParam());
    ASSERT_EQ(c.error, "");
    // The greeting carries this machine's own names.
    for (std::string& line : c.expected) {
        if (line.rfind("cddb hello ", 0) == 0) line = "{hello}";
    }
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const ProtocolOutcome outcome = RunProtocolCase(c, temp);
    EXPECT_EQ(outcome.transcript, ExpectedTranscript(c));
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.statuses, c.statuses);
    EXPECT_EQ(outcome.file, c.file);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversationTest,
                         ::testing::Values("exact-match", "query-211-two-matches", "banner-433-too-many-users",
                                           "read-split-segments", "read-401-no-full-stop", "silent-server-retry-limit"));

// The sample copy through the Windows file functions and text-mode reading.
TEST(LocalDatabaseTest, FindsTheAlbumInTheSampleCopy) {
    CdDevice().trackCount = 12;
    DiscInfo().trackTitles.assign(12, std::nullopt);
    const std::string root = std::string("Z:") + TUNOVA_SOURCE_DIR + "\\samples\\cddb";
    EXPECT_EQ(SearchLocalDatabaseAt(root.c_str(), 0x9c0b330c), 1);
    EXPECT_EQ(DiscInfo().artist, "The Lanterns");
    EXPECT_EQ(DiscInfo().title, "Harbour Lights");
    EXPECT_EQ(DiscInfo().trackTitles[11], std::optional<std::string>("Home Port"));
    EXPECT_EQ(SearchLocalDatabaseAt(root.c_str(), 0x9c0b330d), 0);
    CdDevice().trackCount = 0;
    ResetDiscInfo();
}

TEST(SystemNamesTest, UserComputerAndTempFile) {
    std::string user, computer;
    EXPECT_TRUE(GetSystemUserName(&user));
    EXPECT_FALSE(user.empty());
    EXPECT_TRUE(GetSystemComputerName(&computer));
    EXPECT_LE(computer.size(), 15u);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path;
    ASSERT_TRUE(CreateUniqueTempFile(temp, "cdb", &path));
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(path.find("cdb"), std::string::npos);
    DeleteFileA(path.c_str());
}

} // namespace
