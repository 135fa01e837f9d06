#include "musicbrainz/client.h"

#include <cstdio>

#include "log/logmessage.h"
#include "discinfo/querystatus.h"
#include "musicbrainz/requestgate.h"
#include "platform/https.h"

const char* const MusicBrainzUserAgent = "Tunova/2.21 ( https://tunova.kestrow.example/ )";

namespace {

const char* const Busy = "MusicBrainz is busy; try again later.";

// Tells the user and the log the same text.
void Report(const char* text) {
    LogMessage(text);
    SetQueryStatus(text);
}

void ReportFailure(HttpsOutcome outcome, const HttpsReply& reply) {
    switch (outcome) {
    case HttpsOutcome::Unavailable:
        Report("HTTPS is not available on this system.");
        return;
    case HttpsOutcome::BadAddress:
        Report("Invalid MusicBrainz server address.");
        return;
    case HttpsOutcome::Unreachable:
        Report("Unable to connect to MusicBrainz.");
        break;
    case HttpsOutcome::SecureConnectionRefused:
        Report("Secure connection to MusicBrainz refused.");
        break;
    case HttpsOutcome::TimedOut:
        Report("MusicBrainz did not answer in time.");
        break;
    case HttpsOutcome::TooLarge:
        Report("MusicBrainz reply too large.");
        return;
    case HttpsOutcome::Cancelled:
        // The program is ending: nobody reads the status any more.
        LogMessage("MusicBrainz lookup cancelled.");
        return;
    default:
        Report("MusicBrainz request failed.");
        break;
    }
    if (reply.error) LogMessageHex("HTTPS error code: ", static_cast<unsigned>(reply.error));
}

void ReportReading(MusicBrainzReading reading) {
    switch (reading) {
    case MusicBrainzReading::TooLarge:
        Report("MusicBrainz reply too large.");
        break;
    case MusicBrainzReading::Malformed:
        Report("MusicBrainz reply could not be read.");
        break;
    default:
        Report("MusicBrainz reply not understood.");
        break;
    }
}

} // namespace

namespace {

std::string WithoutTrailingSlash(const std::string& server) {
    std::string base = server;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

} // namespace

std::string MusicBrainzLookupUrl(const std::string& server, const std::string& discId, const MusicBrainzToc& toc) {
    return WithoutTrailingSlash(server) + "/ws/2/discid/" + discId + "?toc=" + MusicBrainzTocText(toc, '+') +
           "&inc=artist-credits+recordings&fmt=json";
}

std::string MusicBrainzSubmissionUrl(const std::string& server, const std::string& discId,
                                     const MusicBrainzToc& toc) {
    return WithoutTrailingSlash(server) + "/cdtoc/attach?id=" + discId + "&tracks=" + std::to_string(toc.lastTrack) +
           "&toc=" + MusicBrainzTocText(toc, '+');
}

MusicBrainzResult AskMusicBrainz(const std::string& server, const std::string& discId, const MusicBrainzToc& toc,
                                 MusicBrainzAnswer* answer) {
    *answer = MusicBrainzAnswer{};
    LogMessage("Checking MusicBrainz for disc id: ", discId.c_str());
    SetQueryStatus("Querying MusicBrainz.");
    HttpsRequest request;
    request.url = MusicBrainzLookupUrl(server, discId, toc);
    request.headers = {std::string("User-Agent: ") + MusicBrainzUserAgent, "Accept: application/json"};
    request.bodyLimit = MusicBrainzReplyLimit;
    request.timeLimitMs = MusicBrainzTimeLimitMs;

    HttpsReply reply;
    // A busy service is asked once more, a turn (a second) later.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!MusicBrainzGate().TakeTurn()) {
            ReportFailure(HttpsOutcome::Cancelled, reply);
            return MusicBrainzResult::Failed;
        }
        LogMessage("Requesting: ", request.url.c_str());
        const HttpsOutcome outcome = Https().Get(request, &reply);
        if (outcome != HttpsOutcome::Answered) {
            ReportFailure(outcome, reply);
            return MusicBrainzResult::Failed;
        }
        LogMessageInt("MusicBrainz answered with status: ", reply.status);
        if (reply.status != 503) break;
    }

    switch (reply.status) {
    case 200: {
        const MusicBrainzReading reading = ReadMusicBrainzReply(reply.body, discId, toc, answer);
        if (reading != MusicBrainzReading::Read) {
            ReportReading(reading);
            return MusicBrainzResult::Failed;
        }
        // A list of close matches may hold none, or none with a medium like the disc.
        return answer->releases.empty() ? MusicBrainzResult::NotFound : MusicBrainzResult::Found;
    }
    case 404:
        return MusicBrainzResult::NotFound;
    case 503:
        Report(Busy);
        return MusicBrainzResult::Failed;
    default: {
        char text[64];
        std::snprintf(text, sizeof text, "MusicBrainz error #%d.", reply.status);
        Report(text);
        return MusicBrainzResult::Failed;
    }
    }
}
