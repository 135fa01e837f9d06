// Native builds have no HTTPS client of their own: every request reports that. Tests
// install a stand-in with recorded replies.
#include "platform/https.h"

namespace {

class NoHttpsClient : public HttpsClient {
public:
    HttpsOutcome Get(const HttpsRequest&, HttpsReply*) override { return HttpsOutcome::Unavailable; }
};

} // namespace

HttpsClient& DefaultHttpsClient() {
    static NoHttpsClient client;
    return client;
}
