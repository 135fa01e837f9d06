// One lookup at MusicBrainz through the HTTPS seam, against the recorded service: the
// request as the service wants it, its pace, the busy service, and every failure told.
#include "musicbrainz/client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>

#include "discinfo/querystatus.h"
#include "musicbrainz/requestgate.h"
#include "platform/workerowner.h"
#include "tests/support/recordedmusicbrainz.h"
#include "tests/support/statusrecorder.h"

namespace {

// The documented example disc.
const char* const DiscId = "I5l9cCSFccLKFEKS.7wqSZAorPU-";

MusicBrainzToc ExampleToc() {
    MusicBrainzToc toc;
    toc.lastTrack = 12;
    toc.leadOut = 267257;
    toc.offsets = {150, 22767, 41887, 58317, 72102, 91375, 104652, 115380, 132165, 143932, 159870, 174597};
    return toc;
}

// A one-release reply for the example disc: twelve CD tracks.
std::string OneRelease() {
    std::string tracks;
    for (int i = 0; i < 12; ++i) tracks += std::string(i ? "," : "") + R"({"title":"T","length":null})";
    return R"({"id":")" + std::string(DiscId) + R"(","releases":[{"title":"Album","artist-credit":[],)"
           R"("media":[{"format":"CD","track-count":12,"discs":[{"id":")" + DiscId + R"("}],"tracks":[)" + tracks +
           "]}]}]}";
}

class MusicBrainzClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallHttpsClient(&service_);
        ClearRecordedStatuses();
        SetQueryStatusListener(RecordStatus);
    }
    void TearDown() override {
        SetQueryStatusListener(nullptr);
        InstallHttpsClient(nullptr);
    }
    MusicBrainzResult Ask(const std::string& server = "https://mb.test") {
        return AskMusicBrainz(server, DiscId, ExampleToc(), &answer_);
    }

    RecordedMusicBrainz service_;
    MusicBrainzAnswer answer_;
};

} // namespace

TEST_F(MusicBrainzClientTest, AsksForTheDiscByIdAndTableAsTheServiceWantsIt) {
    service_.Serve(DiscId, {{HttpsOutcome::Answered, 200, OneRelease()}});
    ASSERT_EQ(Ask("https://mb.test/"), MusicBrainzResult::Found);
    ASSERT_EQ(answer_.releases.size(), 1u);
    const auto requests = service_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].url,
              "https://mb.test/ws/2/discid/I5l9cCSFccLKFEKS.7wqSZAorPU-?toc=1+12+267257+150+22767+41887+58317+72102+"
              "91375+104652+115380+132165+143932+159870+174597&inc=artist-credits+recordings&fmt=json");
    // The form MusicBrainz asks of clients: name/version ( contact ).
    const std::regex userAgent(R"(User-Agent: Tunova/\d+\.\d+ \( \S+ \))");
    bool named = false;
    for (const std::string& header : requests[0].headers) named = named || std::regex_match(header, userAgent);
    EXPECT_TRUE(named);
    EXPECT_EQ(RecordedStatuses(), std::vector<std::string>{"Querying MusicBrainz."});
}

TEST_F(MusicBrainzClientTest, ABusyServiceIsAskedOnceMoreASecondLater) {
    service_.Serve(DiscId, {{HttpsOutcome::Answered, 503, RecordedMusicBrainz::RateLimited},
                            {HttpsOutcome::Answered, 200, OneRelease()}});
    EXPECT_EQ(Ask(), MusicBrainzResult::Found);
    const auto requests = service_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_GE(requests[1].at - requests[0].at, std::chrono::seconds(1));
}

TEST_F(MusicBrainzClientTest, AServiceBusyTwiceIsReportedAndNotAskedAgain) {
    service_.Serve(DiscId, {{HttpsOutcome::Answered, 503, RecordedMusicBrainz::RateLimited}});
    EXPECT_EQ(Ask(), MusicBrainzResult::Failed);
    EXPECT_EQ(service_.Requests().size(), 2u);
    EXPECT_EQ(QueryStatusText(), "MusicBrainz is busy; try again later.");
    EXPECT_TRUE(answer_.releases.empty());
}

TEST_F(MusicBrainzClientTest, LookupsOneAfterAnotherKeepASecondApart) {
    // The service answers a second request within the second with 503: a client
    // that does not wait is told it is busy.
    service_.Serve(DiscId, {{HttpsOutcome::Answered, 200, OneRelease()}});
    EXPECT_EQ(Ask(), MusicBrainzResult::Found);
    EXPECT_EQ(Ask(), MusicBrainzResult::Found);
    EXPECT_EQ(Ask(), MusicBrainzResult::Found);
    const auto requests = service_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_GE(requests[2].at - requests[1].at, std::chrono::seconds(1));
}

TEST_F(MusicBrainzClientTest, AnUnknownDiscIsNotFoundWithoutAStatusOfItsOwn) {
    EXPECT_EQ(Ask(), MusicBrainzResult::NotFound);
    EXPECT_EQ(RecordedStatuses(), std::vector<std::string>{"Querying MusicBrainz."});
}

TEST_F(MusicBrainzClientTest, EveryFailureIsToldWithItsOwnStatus) {
    const struct {
        RecordedMusicBrainz::Scripted reply;
        const char* status;
    } cases[] = {
        {{HttpsOutcome::Unavailable, 0, ""}, "HTTPS is not available on this system."},
        {{HttpsOutcome::BadAddress, 0, ""}, "Invalid MusicBrainz server address."},
        {{HttpsOutcome::Unreachable, 0, ""}, "Unable to connect to MusicBrainz."},
        {{HttpsOutcome::SecureConnectionRefused, 0, ""}, "Secure connection to MusicBrainz refused."},
        {{HttpsOutcome::TimedOut, 0, ""}, "MusicBrainz did not answer in time."},
        {{HttpsOutcome::Failed, 0, ""}, "MusicBrainz request failed."},
        {{HttpsOutcome::Answered, 200, std::string(MusicBrainzReplyLimit + 1, ' ')}, "MusicBrainz reply too large."},
        {{HttpsOutcome::Answered, 200, R"({"id":)"}, "MusicBrainz reply could not be read."},
        {{HttpsOutcome::Answered, 200, "[1,2]"}, "MusicBrainz reply not understood."},
        {{HttpsOutcome::Answered, 500, "Internal Server Error"}, "MusicBrainz error #500."},
    };
    for (const auto& c : cases) {
        service_.Serve(DiscId, {c.reply});
        EXPECT_EQ(Ask(), MusicBrainzResult::Failed) << c.status;
        EXPECT_EQ(QueryStatusText(), c.status);
        EXPECT_TRUE(answer_.releases.empty());
    }
}

TEST(MusicBrainzGate, ACancelledWorkerStopsWaitingForItsTurn) {
    RequestGate gate(std::chrono::seconds(30));
    ASSERT_TRUE(gate.TakeTurn());
    static RequestGate* waiting = nullptr;
    static bool tookTurn = true;
    waiting = &gate;
    WorkerOwner owner;
    ASSERT_TRUE(owner.Start([] { tookTurn = waiting->TakeTurn(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto cancelled = std::chrono::steady_clock::now();
    owner.Cancel();
    owner.Join();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(2));
    EXPECT_FALSE(tookTurn);
}
