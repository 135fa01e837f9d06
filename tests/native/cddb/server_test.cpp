// The pieces of the server conversation that need no server: where to connect, what
// to say, and how each reply is judged.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cdaudio/toc.h"
#include "discinfo/querystatus.h"
#include "cddb/server.h"
#include "cddb/serverreplies.h"
#include "discinfo/options.h"
#include "tests/support/statusrecorder.h"

namespace {

TEST(ChooseCddbTargetTest, ServerListEntryOrRelay) {
    ProgramOptionsRecord options;
    options.cddbServerList = {"freedb.example.org Random freedb server", "us.example.net\tSan Jose, CA"};
    CddbTarget target;

    options.cddbServerNum = 0;
    ASSERT_TRUE(ChooseCddbTarget(options, &target));
    EXPECT_EQ(target.host, "freedb.example.org");
    EXPECT_EQ(target.port, 888);

    options.cddbServerNum = 1;
    ASSERT_TRUE(ChooseCddbTarget(options, &target));
    EXPECT_EQ(target.host, "us.example.net");

    options.cddbUseProxy = 1;
    options.cddbProxyName = "relay.example.com";
    options.cddbProxyPort = 8880;
    options.cddbServerNum = 7; // not used with the relay
    ASSERT_TRUE(ChooseCddbTarget(options, &target));
    EXPECT_EQ(target.host, "relay.example.com");
    EXPECT_EQ(target.port, 8880);
}

TEST(ChooseCddbTargetTest, NoServerToAsk) {
    ProgramOptionsRecord options;
    CddbTarget target;
    EXPECT_FALSE(ChooseCddbTarget(options, &target)) << "empty list";
    options.cddbServerList = {"freedb.example.org"};
    options.cddbServerNum = 1;
    EXPECT_FALSE(ChooseCddbTarget(options, &target)) << "index past the end";
    options.cddbServerNum = -1;
    EXPECT_FALSE(ChooseCddbTarget(options, &target)) << "negative index";
    options.cddbServerList = {" leading blank"};
    options.cddbServerNum = 0;
    EXPECT_FALSE(ChooseCddbTarget(options, &target)) << "no host word";
}

TEST(ParseServerEntryTest, HostPortOrScriptAddress) {
    struct {
        const char* entry;
        bool parsed;
        CddbTransport transport;
        const char* host;
        int port;
        const char* path;
    } cases[] = {
        {"freedb.example.org Random freedb server", true, CddbTransport::Cddbp, "freedb.example.org", 888, ""},
        {"gnudb.example.org:8880 gnudb, worldwide", true, CddbTransport::Cddbp, "gnudb.example.org", 8880, ""},
        {"127.0.0.1:65535", true, CddbTransport::Cddbp, "127.0.0.1", 65535, ""},
        {"http://gnudb.example.org/~cddb/cddb.cgi gnudb over HTTP", true, CddbTransport::Http, "gnudb.example.org", 80,
         "/~cddb/cddb.cgi"},
        {"HTTP://127.0.0.1:8080/cgi-bin/cddb.cgi\tlocal", true, CddbTransport::Http, "127.0.0.1", 8080,
         "/cgi-bin/cddb.cgi"},
        {"http://example.org", true, CddbTransport::Http, "example.org", 80, "/"},
        {"host:0", false, CddbTransport::Cddbp, "", 0, ""},
        {"host:65536", false, CddbTransport::Cddbp, "", 0, ""},
        {"host:88x8", false, CddbTransport::Cddbp, "", 0, ""},
        {"host: 8880", false, CddbTransport::Cddbp, "", 0, ""},
        {":8880", false, CddbTransport::Cddbp, "", 0, ""},
        {"http:///path", false, CddbTransport::Cddbp, "", 0, ""},
        {"", false, CddbTransport::Cddbp, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        CddbTarget target;
        ASSERT_EQ(ParseServerEntry(c.entry, &target), c.parsed);
        if (!c.parsed) continue;
        EXPECT_EQ(target.transport, c.transport);
        EXPECT_EQ(target.host, c.host);
        EXPECT_EQ(target.port, c.port);
        EXPECT_EQ(target.path, c.path);
    }
}

TEST(HelloIdentityTest, ReturnAddressElseSystemNames) {
    struct {
        const char* address;
        const char* user;
        const char* host;
    } cases[] = {
        {"jo.smith@mail.example.org", "jo.smith", "mail.example.org"},
        {"", "josmith", "PC-1"},
        {"jo smith@example.org", "josmith", "PC-1"}, // not a plain address
        {"@example.org", "josmith", "PC-1"},
        {"jo@", "josmith", "PC-1"},
        {"jo@a@b", "josmith", "PC-1"},
        {"J\xf6rg@example.org", "josmith", "PC-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        const HelloIdentity identity = ChooseHelloIdentity(c.address, "jo smith", "PC-1");
        EXPECT_EQ(identity.user, c.user);
        EXPECT_EQ(identity.host, c.host);
    }
    const HelloIdentity unknown = ChooseHelloIdentity("", "", "");
    EXPECT_EQ(unknown.user, "Unknown");
    EXPECT_EQ(unknown.host, "Unknown");
}

TEST(HttpRequestTest, CommandAndGreetingAsFormFields) {
    CddbTarget target;
    ASSERT_TRUE(ParseServerEntry("http://gnudb.example.org/~cddb/cddb.cgi", &target));
    EXPECT_EQ(BuildHttpRequest(target, "cddb query 1a2b3c03 3 150 18787 36077 753", {"jo", "example.org"}),
              "GET /~cddb/cddb.cgi?cmd=cddb+query+1a2b3c03+3+150+18787+36077+753"
              "&hello=jo+example.org+Tunova+v2.21&proto=6 HTTP/1.0\r\nHost: gnudb.example.org\r\n\r\n");
    ASSERT_TRUE(ParseServerEntry("http://127.0.0.1:8080/cddb.cgi?site=1", &target));
    EXPECT_EQ(BuildHttpRequest(target, "cddb read rock 1a2b3c03", {"a&b+c", "h%st"}),
              "GET /cddb.cgi?site=1&cmd=cddb+read+rock+1a2b3c03&hello=a%26b%2Bc+h%25st+Tunova+v2.21&proto=6 "
              "HTTP/1.0\r\nHost: 127.0.0.1:8080\r\n\r\n");
}

TEST(QueryServerTest, EmptyServerListEndsWithAClearStatus) {
    ClearRecordedStatuses();
    SetQueryStatusListener(RecordStatus);
    ProgramOptions().cddbUseProxy = 0;
    ProgramOptions().cddbServerList.clear();
    EXPECT_EQ(QueryServer(0x1a2b3c03, nullptr), -1);
    SetQueryStatusListener(nullptr);
    EXPECT_EQ(RecordedStatuses(), (std::vector<std::string>{"Looking for server.", "No cddb server selected."}));
    EXPECT_EQ(QueryStatusText(), "No cddb server selected.");
}

TEST(QueryLineTest, FrameOffsetsAndWholeSecondsOfTheDisc) {
    const std::vector<TrackToc> toc = {
        {TrackAudio, 1, 0, 2, 0, 0, 0, 0},
        {TrackAudio, 2, 4, 10, 37, 0, 0, 0},
        {TrackOther, 3, 8, 1, 2, 0, 0, 0},
        {0, 0, 12, 33, 70, 0, 0, 0},
    };
    EXPECT_EQ(BuildQueryLine(0x1a2b3c03, toc.data(), 3), "cddb query 1a2b3c03 3 150 18787 36077 753\n");
    const std::vector<TrackToc> one = {{TrackAudio, 1, 0, 2, 0, 2, 57, 74}, {0, 0, 3, 0, 0, 0, 0, 0}};
    EXPECT_EQ(BuildQueryLine(0x0200b201, one.data(), 1), "cddb query 0200b201 1 150 180\n");
}

TEST(HelloLineTest, NamesLoseTheirSeparators) {
    EXPECT_EQ(BuildHelloLine("jo smith", "PC-1"), "cddb hello josmith PC-1 Tunova v2.21\n");
    EXPECT_EQ(BuildHelloLine("", " \t"), "cddb hello Unknown Unknown Tunova v2.21\n");
    EXPECT_EQ(BuildHelloLine("J\xf6rg", "X"), "cddb hello Jrg X Tunova v2.21\n");
}

TEST(ReplyJudgingTest, EveryRowOfTheTables) {
    struct Case {
        const char* reply;
        bool signOn, handshake, read;
        QueryOutcome query;
        std::string signOnText, handshakeText, readText, queryText;
    };
    const Case cases[] = {
        {"201 host CDDBP server ready\n", true, true, false, QueryOutcome::InexactMatch, "", "",
         "Server read request error #201.", ""},
        {"200 OK\n", true, true, false, QueryOutcome::ExactMatch, "", "", "Server read request error #200.", ""},
        {"211 inexact\n", true, true, true, QueryOutcome::InexactMatch, "", "", "", ""},
        // To a query, 210 announces the list of an id's exact matches in several categories.
        {"210 Found exact matches, list follows\n", true, true, true, QueryOutcome::InexactMatch, "", "", "", ""},
        {"230 x\n", true, true, false, QueryOutcome::ExactMatch, "", "", "Server read request error #230.", ""},
        {"302 x\n", true, true, false, QueryOutcome::NoMatch, "", "", "Server read request error #302.", ""},
        {"401 x\n", true, false, false, QueryOutcome::Failed, "", "Server handshake error #401.",
         "Server read request error #401", "Server query error #401."},
        {"432 x\n", false, false, false, QueryOutcome::Failed, "Permission denied by server.",
         "Server handshake error #432.", "Server read request error #432", "Server query error #432."},
        {"433 x\n", false, false, false, QueryOutcome::Failed, "Too many users on server.", "Server handshake error #433.",
         "Server read request error #433", "Server query error #433."},
        {"434 x\n", false, false, false, QueryOutcome::Failed, "Beyond maximum load on server.",
         "Server handshake error #434.", "Server read request error #434", "Server query error #434."},
        {"500 x\n", false, false, false, QueryOutcome::Failed, "Server sign-on error #500.",
         "Server handshake error #500.", "Server read request error #500", "Server query error #500."},
        {"100 x\n", false, false, false, QueryOutcome::Failed, "Server sign-on error #100.",
         "Server handshake error #100.", "Server read request error #100", "Server query error #100."},
        {"610 x\n", true, true, true, QueryOutcome::Failed, "", "", "", "Server query error #610."},
        {"  \t200 after separators\n", true, true, false, QueryOutcome::ExactMatch, "", "",
         "Server read request error #200.", ""},
        {"OK\n", false, false, false, QueryOutcome::Failed, "Server sign-on error #OK.", "Server handshake error #OK.",
         "Server read request error #OK", "Server query error #OK."},
        {"", false, false, false, QueryOutcome::Failed, "Server sign-on error #.", "Server handshake error #.",
         "Server read request error #", "Server query error #."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        std::string text;
        EXPECT_EQ(JudgeSignOn(c.reply, &text), c.signOn);
        EXPECT_EQ(text, c.signOnText);
        text.clear();
        EXPECT_EQ(JudgeHandshake(c.reply, &text), c.handshake);
        EXPECT_EQ(text, c.handshakeText);
        text.clear();
        EXPECT_EQ(JudgeReadReply(c.reply, &text), c.read);
        EXPECT_EQ(text, c.readText);
        text.clear();
        EXPECT_EQ(JudgeQueryReply(c.reply, &text), c.query);
        EXPECT_EQ(text, c.queryText);
    }
}

} // namespace
