// A whole lookup conversation with a hostile cddb server on loopback: whatever it
// sends, on every connection the client opens, over cddbp or HTTP.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "cddb/server.h"
#include "discinfo/options.h"
#include "fuzz/fuzzsupport.h"

namespace {

// One listening socket for the whole run.
int Listener(int* port) {
    static int listener = -1;
    static int listenerPort = 0;
    if (listener < 0) {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener, 8) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        listenerPort = ntohs(address.sin_port);
    }
    *port = listenerPort;
    return listener;
}

// Serves the bytes on every connection until told to stop: sends them all, ends its
// side, and reads what the client says until the client hangs up.
void Serve(int listener, const std::uint8_t* data, std::size_t size, const std::atomic<bool>* stop) {
    while (!*stop) {
        pollfd waiting{listener, POLLIN, 0};
        if (poll(&waiting, 1, 10) <= 0) continue;
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0) continue;
        for (std::size_t sent = 0; sent < size;) {
            const ssize_t n = send(connection, data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        shutdown(connection, SHUT_WR);
        char sink[512];
        for (;;) {
            pollfd reading{connection, POLLIN, 0};
            if (poll(&reading, 1, 2000) <= 0 || recv(connection, sink, sizeof sink, 0) <= 0) break;
        }
        close(connection);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    int port = 0;
    const int listener = Listener(&port);
    fuzz::InsertDisc(data[0] % 20 + 1);
    // Small bounds, so that the limits themselves are reached.
    SetConversationLimits(16 * 1024, 20);

    ProgramOptionsRecord& options = ProgramOptions();
    options = ProgramOptionsRecord{};
    // The first byte's top bit picks the transport: the relay speaks cddbp, a listed
    // http:// entry the script form.
    if (data[0] & 0x80) {
        options.cddbServerList = {"http://127.0.0.1:" + std::to_string(port) + "/~cddb/cddb.cgi fuzz"};
    } else {
        options.cddbUseProxy = 1;
        std::snprintf(options.cddbProxyName, sizeof options.cddbProxyName, "127.0.0.1");
        options.cddbProxyPort = port;
    }

    std::atomic<bool> stop{false};
    std::thread server(Serve, listener, data + 1, size - 1, &stop);
    std::FILE* output = std::fopen("/dev/null", "w");
    if (!output) std::abort();
    QueryServer(0x0200b201u, output);
    ReadServerEntry("rock", 0x0200b201u, output);
    std::fclose(output);
    stop = true;
    server.join();
    SetConversationLimits(0, 0);
    return 0;
}
