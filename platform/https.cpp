#include "platform/https.h"

#include <atomic>

// The build's own client: WinHTTP on Windows, none elsewhere.
HttpsClient& DefaultHttpsClient();

namespace {
std::atomic<HttpsClient*> installedClient{nullptr};
}

void InstallHttpsClient(HttpsClient* client) { installedClient = client; }

HttpsClient& Https() {
    HttpsClient* client = installedClient;
    return client ? *client : DefaultHttpsClient();
}
