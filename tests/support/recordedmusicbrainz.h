// MusicBrainz's web service behind the HTTPS seam, for native tests: recorded replies
// (tests/data/musicbrainz) served by disc id, and the service's own refusals, so that a
// client that breaks its rules fails here as it would there: no User-Agent gives 403,
// a second request within a second gives 503, a malformed disc id 400, an unknown one
// 404. Requests are recorded with the time they arrived.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "platform/https.h"
#include "tests/support/filetext.h"

class RecordedMusicBrainz : public HttpsClient {
public:
    struct Scripted {
        HttpsOutcome outcome = HttpsOutcome::Answered;
        int status = 200;
        std::string body;
    };
    struct Request {
        std::string url;
        std::vector<std::string> headers;
        std::chrono::steady_clock::time_point at;
    };

    static std::string DataFile(const std::string& name) {
        return FileText(std::string(TUNOVA_SOURCE_DIR) + "/tests/data/musicbrainz/" + name);
    }

    // The replies for one disc id, in order; the last one stays for later requests.
    void Serve(const std::string& discId, std::vector<Scripted> replies) {
        std::lock_guard<std::mutex> hold(mutex_);
        replies_[discId] = std::deque<Scripted>(replies.begin(), replies.end());
    }
    void ServeFile(const std::string& discId, const std::string& name) { Serve(discId, {{HttpsOutcome::Answered, 200, DataFile(name)}}); }

    std::vector<Request> Requests() {
        std::lock_guard<std::mutex> hold(mutex_);
        return requests_;
    }

    HttpsOutcome Get(const HttpsRequest& request, HttpsReply* reply) override {
        std::lock_guard<std::mutex> hold(mutex_);
        const auto now = std::chrono::steady_clock::now();
        const bool tooSoon = !requests_.empty() && now - requests_.back().at < std::chrono::seconds(1);
        requests_.push_back({request.url, request.headers, now});
        *reply = HttpsReply{};
        if (!HasUserAgent(request.headers)) return Answer(reply, 403, Error("Forbidden"));
        if (tooSoon) return Answer(reply, 503, RateLimited);
        static const std::regex lookup(R"(https://[^/]+/ws/2/discid/([^?]*)\?toc=[0-9+]+&inc=artist-credits\+recordings&fmt=json)");
        std::smatch match;
        if (!std::regex_match(request.url, match, lookup)) return Answer(reply, 400, Error("Invalid request."));
        static const std::regex discId(R"([A-Za-z0-9._]{27}-)");
        if (!std::regex_match(match[1].str(), discId)) return Answer(reply, 400, Error("Invalid discid."));
        auto found = replies_.find(match[1].str());
        if (found == replies_.end() || found->second.empty()) return Answer(reply, 404, Error("Not Found"));
        const Scripted scripted = found->second.front();
        if (found->second.size() > 1) found->second.pop_front();
        if (scripted.outcome != HttpsOutcome::Answered) return scripted.outcome;
        if (scripted.body.size() > request.bodyLimit) return HttpsOutcome::TooLarge;
        return Answer(reply, scripted.status, scripted.body);
    }

    // The service's own bodies.
    static std::string Error(const std::string& text) {
        return "{\"error\":\"" + text + "\",\"help\":\"For usage, please see: https://musicbrainz.org/development/mmd\"}";
    }
    static constexpr const char* RateLimited =
        "{\"error\":\"Your requests are exceeding the allowable rate limit. Please see "
        "https://wiki.musicbrainz.org/XMLWebService for more information.\"}";

private:
    static bool HasUserAgent(const std::vector<std::string>& headers) {
        for (const std::string& header : headers) {
            if (header.rfind("User-Agent: ", 0) == 0 && header.size() > 12) return true;
        }
        return false;
    }
    static HttpsOutcome Answer(HttpsReply* reply, int status, const std::string& body) {
        reply->status = status;
        reply->body = body;
        return HttpsOutcome::Answered;
    }

    std::mutex mutex_;
    std::map<std::string, std::deque<Scripted>> replies_;
    std::vector<Request> requests_;
};
