// The seam to HTTPS: one GET with request headers, giving the status and the body. The
// Windows builds use WinHTTP (the system's TLS, certificate store and proxy settings,
// with certificate checks always on), loaded when the first request is made; native
// builds have no HTTPS of their own, and tests install a stand-in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct HttpsRequest {
    std::string url;                  // https://host[:port]/path?query
    std::vector<std::string> headers; // "Name: value"
    std::size_t bodyLimit = 0;        // a longer body ends the request as TooLarge
    int timeLimitMs = 0;              // for the whole request, connection to last byte
};

struct HttpsReply {
    int status = 0; // the HTTP status when the server answered
    std::string body;
    unsigned long error = 0; // the system's error code when the request failed, for the log
};

enum class HttpsOutcome {
    Answered,           // a status and the whole body, whatever the status
    Unavailable,        // the system has no HTTPS client
    BadAddress,         // the URL cannot be used
    Unreachable,        // the host was not found or refused the connection
    SecureConnectionRefused, // no trusted TLS connection: the server's certificate is
                             // not trusted (or not its name's), or no protocol fits
    TimedOut,           // the time limit passed first
    TooLarge,           // the body went past the limit
    Cancelled,          // the worker's owner cancelled the run
    Failed,             // any other failure
};

class HttpsClient {
public:
    virtual ~HttpsClient() = default;
    // Runs the request on the calling thread. A worker's owner (platform/workerowner.h)
    // may cancel it from another thread, which ends it at once as Cancelled.
    virtual HttpsOutcome Get(const HttpsRequest& request, HttpsReply* reply) = 0;
};

// Installs the client for the process (null: the build's own). Tests install theirs
// before any worker runs.
void InstallHttpsClient(HttpsClient* client);
HttpsClient& Https();
