// The player's side of a lookup against tools/fakecddb, the fake cddbp server the
// end-to-end tests use: it must answer as the reference server does, and the client
// must cope with its misbehaviour.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "cdaudio/cddevice.h"
#include "discinfo/querystatus.h"
#include "cddb/server.h"
#include "cddb/xmcd.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/sysnames.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/filetext.h"
#include "tests/support/statusrecorder.h"

namespace {

const std::string Root = TUNOVA_SOURCE_DIR;

// One fake server serving one connection; the process ends with it (or after 30 s).
class FakeServer {
public:
    explicit FakeServer(const std::string& arguments) {
        const std::string command = "exec timeout 30 python3 " + Root + "/tools/fakecddb/fakecddb.py --once --db " +
                                    Root + "/samples/cddb " + arguments;
        pipe_ = popen(command.c_str(), "r");
        char line[64] = {};
        if (pipe_ && std::fgets(line, sizeof line, pipe_)) std::sscanf(line, "port %d", &port_);
    }
    ~FakeServer() {
        if (pipe_) pclose(pipe_);
    }
    int Port() const { return port_; }

private:
    std::FILE* pipe_ = nullptr;
    int port_ = 0;
};

class FakeServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallVirtualCdText(FileText(Root + "/samples/discs/album.disc"));
        ASSERT_GT(OpenCdDevice("D:"), 0);
        DiscInfo().trackTitles.assign(12, std::nullopt);
        SetFixedSystemNames("tester", "TESTPC", nullptr);
        ClearRecordedStatuses();
        SetQueryStatusListener(RecordStatus);
        output_ = std::tmpfile();
    }
    void TearDown() override {
        SetQueryStatusListener(nullptr);
        std::fclose(output_);
        ProgramOptions().cddbUseProxy = 0;
        CloseCdDevice();
        ResetDiscInfo();
    }

    int Query(const std::string& arguments, unsigned discId) {
        FakeServer server(arguments);
        EXPECT_NE(server.Port(), 0) << "the fake server did not start";
        ProgramOptionsRecord& options = ProgramOptions();
        options.cddbUseProxy = 1;
        options.cddbProxyName = "127.0.0.1";
        options.cddbProxyPort = server.Port();
        return QueryServer(discId, output_);
    }

    std::string Output() {
        std::rewind(output_);
        std::string text;
        for (int c; (c = std::fgetc(output_)) != EOF;) text += static_cast<char>(c);
        std::rewind(output_);
        return text;
    }

    std::FILE* output_ = nullptr;
};

TEST_F(FakeServerTest, ExactMatchFillsTheDiscRecord) {
    ASSERT_EQ(Query("", ComputeDiscId()), 1);
    EXPECT_EQ(RecordedStatuses().back(), "Reading CD information.");
    EXPECT_EQ(Output().substr(0, 26), "#FILENAME=9c0b330c\n# xmcd\n");
    ASSERT_EQ(ReadXmcdEntry(ComputeDiscId(), output_), 1);
    EXPECT_EQ(DiscInfo().artist, "The Lanterns");
    EXPECT_EQ(DiscInfo().title, "Harbour Lights");
    EXPECT_EQ(DiscInfo().trackTitles[11], std::optional<std::string>("Home Port"));
}

TEST_F(FakeServerTest, LinesSplitAcrossSegmentsArriveWhole) {
    ASSERT_EQ(Query("--misbehave split --split-pause 0.005", ComputeDiscId()), 1);
    std::rewind(output_);
    ASSERT_EQ(ReadXmcdEntry(ComputeDiscId(), output_), 1);
    EXPECT_EQ(DiscInfo().title, "Harbour Lights");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>("Low Tide"));
}

TEST_F(FakeServerTest, UnknownDiscIsNoMatch) {
    EXPECT_EQ(Query("--db " + Root + "/tests/data/cddb/protocol", 0x01020304), 0); // no category holds it
    EXPECT_EQ(RecordedStatuses().back(), "Sending query request.");
    EXPECT_EQ(Output(), "");
}

TEST_F(FakeServerTest, OffsetsOfAKnownDiscUnderAnotherIdAreACloseMatch) {
    // The server's fuzzy search goes by the offsets and the disc length, not the id.
    EXPECT_EQ(Query("", 0x01020304), 2);
    EXPECT_EQ(Output(), "rock 9c0b330c The Lanterns / Harbour Lights\n");
    std::rewind(output_);
    EXPECT_EQ(Query("--fuzz 0 --db " + Root + "/tests/data/cddb/server", 0x01020304), 2);
    EXPECT_EQ(Output().rfind("folk 9c0b330c L\xC3\xA9" "a Fontaine", 0), 0u);
}

TEST_F(FakeServerTest, AliasOffersCloseMatches) {
    EXPECT_EQ(Query("--alias 01020304=9c0b330c,920ef00b", 0x01020304), 2);
    EXPECT_EQ(Output(), "rock 9c0b330c The Lanterns / Harbour Lights\njazz 920ef00b Quiet Hours Trio / Night Shift\n");
}

TEST_F(FakeServerTest, PlaysACaseFileAndRecordsTheClient) {
    const std::string transcript = ::testing::TempDir() + "/fakecddb-transcript.txt";
    std::remove(transcript.c_str());
    EXPECT_EQ(Query("--script " + Root + "/tests/data/cddb/protocol/query-211-two-matches.case --transcript " + transcript,
                    0x1a2b3c03),
              2);
    EXPECT_EQ(Output(), "rock 1a2b3c04 Artist / Title\nmisc 2f00aa03 Other Artist / Other Title\n");
    std::ifstream in(transcript);
    std::stringstream sent;
    sent << in.rdbuf();
    EXPECT_EQ(sent.str(), "cddb hello tester TESTPC Tunova v2.21\nproto 6\ncddb query 1a2b3c03 12 150 18395 35730 "
                          "55800 70205 92840 109973 129110 142530 163838 180013 198703 2869\n");
}

// Everything the fake sends in one cddbp conversation of the given lines, to its end.
std::string RawConversation(int port, const std::string& lines) {
    const int connection = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string received;
    if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(connection, lines.data(), lines.size(), 0) == static_cast<ssize_t>(lines.size())) {
        char block[4096];
        for (ssize_t got; (got = recv(connection, block, sizeof block, 0)) > 0;) received.append(block, got);
    }
    close(connection);
    return received;
}

// The fake answers in the character set of the level the client asked for: UTF-8 from
// level 6 on, below it Latin-1 where every letter has one and as stored otherwise.
TEST_F(FakeServerTest, EntriesComeInTheCharacterSetOfTheProtocolLevel) {
    const struct {
        const char* level;
        const char* entry;
        std::string line;
    } cases[] = {
        {"5", "blues 9d0ef00b", "DTITLE=Delta Rail / Crossroads Caf\xE9\r\n"},  // stored in UTF-8
        {"6", "blues 9d0ef00b", "DTITLE=Delta Rail / Crossroads Caf\xC3\xA9\r\n"},
        {"5", "jazz 9d0ef00b", "DTITLE=Les \xC9toiles Quartet / Nuit Blanche\r\n"},  // stored in Latin-1
        {"6", "jazz 9d0ef00b", "DTITLE=Les \xC3\x89toiles Quartet / Nuit Blanche\r\n"},
        {"5", "misc 2b046b04", "DTITLE=\xE6\xA3\xAE\xE3\x81\xAE\xE9\x9F\xB3\xE6\xA5\xBD\xE9\x9A\x8A / "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " at level " + c.level);
        FakeServer server("--db " + Root + "/tests/data/cddb/server");
        ASSERT_NE(server.Port(), 0);
        const std::string reply = RawConversation(
            server.Port(), std::string("cddb hello a b c d\nproto ") + c.level + "\ncddb read " + c.entry + "\nquit\n");
        EXPECT_NE(reply.find("201 OK, CDDB protocol level now: " + std::string(c.level)), std::string::npos) << reply;
        EXPECT_NE(reply.find(c.line), std::string::npos) << reply;
    }
}

TEST_F(FakeServerTest, RefusalsAndMisbehaviour) {
    struct {
        const char* arguments;
        int result;
        const char* status;
    } cases[] = {
        {"--banner 433", -1, "Too many users on server."},
        {"--banner 200", 1, "Reading CD information."},
        {"--misbehave close-mid-entry", -1, "Unknown error while reading CD information."},
        {"--misbehave garbage", -1, "Server query error #"},
        {"--misbehave overlong", 1, "Reading CD information."},
        {"--misbehave no-crlf", 1, "Reading CD information."},
        {"--misbehave stall --stall-at hello --idle 1", -1, "Unable to receive handshake response."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        ClearRecordedStatuses();
        std::rewind(output_);
        EXPECT_EQ(Query(c.arguments, ComputeDiscId()), c.result);
        const std::vector<std::string> statuses = RecordedStatuses();
        ASSERT_FALSE(statuses.empty());
        EXPECT_EQ(statuses.back().substr(0, std::strlen(c.status)), c.status);
    }
}

} // namespace
