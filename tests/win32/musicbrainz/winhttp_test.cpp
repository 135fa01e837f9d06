// The WinHTTP adapter against the fake MusicBrainz servers on loopback (started by the
// test run, tools/fakemusicbrainz/testca.py): a lookup over real TLS with the test
// authority trusted, an untrusted server refused, the bounds, and a cancel at exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "discinfo/querystatus.h"
#include "musicbrainz/client.h"
#include "musicbrainz/requestgate.h"
#include "platform/https.h"
#include "platform/virtualcd/pathforms.h"
#include "platform/workerowner.h"

namespace {

const std::string Servers = std::string(TUNOVA_BINARY_DIR) + "/fakemusicbrainz";
// samples/discs/album.disc, filed at the fake service.
const char* const AlbumId = "gDR7mxLhHXN.0SVfUlSoMr.EnG0-";

MusicBrainzToc AlbumToc() {
    MusicBrainzToc toc;
    toc.lastTrack = 12;
    toc.leadOut = 215233;
    toc.offsets = {150, 18395, 35730, 55800, 70205, 92840, 109973, 129110, 142530, 163838, 180013, 198703};
    return toc;
}

std::string ReadWhole(const std::string& linuxPath) {
    std::ifstream file(WindowsFormOfPath(linuxPath), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// "trusted" -> "https://localhost:N", from the file the servers' start wrote.
std::string ServerUrl(const std::string& role) {
    std::istringstream lines(ReadWhole(Servers + "/servers.txt"));
    std::string name, url;
    while (lines >> name >> url) {
        if (name == role) return url;
    }
    return std::string();
}

HttpsRequest LookupRequest(const std::string& role, int timeLimitMs = MusicBrainzTimeLimitMs) {
    HttpsRequest request;
    request.url = MusicBrainzLookupUrl(ServerUrl(role), AlbumId, AlbumToc());
    request.headers = {std::string("User-Agent: ") + MusicBrainzUserAgent, "Accept: application/json"};
    request.bodyLimit = MusicBrainzReplyLimit;
    request.timeLimitMs = timeLimitMs;
    return request;
}

// Each server allows one request a second, as the real service does.
HttpsOutcome Get(const HttpsRequest& request, HttpsReply* reply) {
    EXPECT_TRUE(MusicBrainzGate().TakeTurn());
    return Https().Get(request, reply);
}

} // namespace

TEST(WinHttp, IsLoadedByTheFirstRequestAndFetchesALookupOverTls) {
    ASSERT_FALSE(ServerUrl("trusted").empty()) << "the fake servers did not start";
    // Nothing in the program so far has loaded it.
    EXPECT_EQ(GetModuleHandleW(L"winhttp.dll"), nullptr);
    HttpsReply reply;
    ASSERT_EQ(Get(LookupRequest("trusted"), &reply), HttpsOutcome::Answered) << "error " << reply.error;
    EXPECT_NE(GetModuleHandleW(L"winhttp.dll"), nullptr);
    EXPECT_EQ(reply.status, 200);
    EXPECT_NE(reply.body.find("\"Harbour Lights\""), std::string::npos);
    // The request as the server saw it, User-Agent included.
    const std::string log = ReadWhole(Servers + "/trusted.log");
    EXPECT_NE(log.find(std::string(" ") + MusicBrainzUserAgent + "\n"), std::string::npos) << log;
}

TEST(WinHttp, AServerOfAnUntrustedAuthorityIsRefused) {
    HttpsReply reply;
    EXPECT_EQ(Get(LookupRequest("untrusted"), &reply), HttpsOutcome::SecureConnectionRefused) << "error " << reply.error;
    EXPECT_EQ(reply.status, 0);
    // Refused during the handshake: the request never reached the server.
    EXPECT_EQ(ReadWhole(Servers + "/untrusted.log"), "");

    MusicBrainzAnswer answer;
    EXPECT_EQ(AskMusicBrainz(ServerUrl("untrusted"), AlbumId, AlbumToc(), &answer), MusicBrainzResult::Failed);
    EXPECT_EQ(QueryStatusText(), "Secure connection to MusicBrainz refused.");
}

TEST(WinHttp, AReplyPastTheSizeOrTimeLimitEndsTheRequest) {
    HttpsReply reply;
    EXPECT_EQ(Get(LookupRequest("huge"), &reply), HttpsOutcome::TooLarge);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(LookupRequest("trickle", 2000), &reply), HttpsOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST(WinHttp, TheOwnerCancelsARequestWaitingForASilentServer) {
    static HttpsOutcome outcome = HttpsOutcome::Answered;
    WorkerOwner owner;
    ASSERT_TRUE(owner.Start([] {
        HttpsReply reply;
        outcome = Https().Get(LookupRequest("stall"), &reply);
    }));
    // Long enough for the request to be sent and waiting for the answer.
    Sleep(1000);
    const auto cancelled = std::chrono::steady_clock::now();
    owner.Cancel();
    owner.Join();
    EXPECT_EQ(outcome, HttpsOutcome::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(3));
}
