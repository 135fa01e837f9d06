// A whole lookup conversation with a hostile cddb server on loopback: whatever it
// sends, on every connection the client opens, over cddbp or HTTP.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "cddb/server.h"
#include "discinfo/options.h"
#include "fuzz/fuzzsupport.h"

namespace {

// One server for the whole run: a thread per input would cost more than the
// conversation itself. Each connection is served the reply the current input holds.
class Server {
public:
    Server() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        port_ = ntohs(address.sin_port);
        std::thread(&Server::Serve, this).detach(); // lives as long as the fuzzing process
    }

    int Port() const { return port_; }

    // The reply every connection from now on is sent.
    void SetReply(const std::uint8_t* data, std::size_t size) {
        std::lock_guard<std::mutex> lock(mutex_);
        reply_.assign(reinterpret_cast<const char*>(data), size);
    }

    // Waits until no connection is being served: the client has hung up on them all
    // once its conversations returned.
    void WaitIdle() {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return connections_ == 0; });
    }

private:
    // Sends the reply, ends its side, and reads what the client says until the client
    // hangs up.
    void Serve() {
        for (;;) {
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0) continue;
            std::string reply;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                reply = reply_;
                ++connections_;
            }
            for (std::size_t sent = 0; sent < reply.size();) {
                const ssize_t n = send(connection, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
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
            std::lock_guard<std::mutex> lock(mutex_);
            --connections_;
            idle_.notify_all();
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::condition_variable idle_;
    std::string reply_;
    int connections_ = 0;
};

Server& TheServer() {
    static Server* server = new Server; // never destroyed: its thread outlives every input
    return *server;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Server& server = TheServer();
    const int port = server.Port();
    server.SetReply(data + 1, size - 1);
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
        options.cddbProxyName = "127.0.0.1";
        options.cddbProxyPort = port;
    }

    std::FILE* output = std::fopen("/dev/null", "w");
    if (!output) std::abort();
    QueryServer(0x0200b201u, output);
    ReadServerEntry("rock", 0x0200b201u, output);
    std::fclose(output);
    server.WaitIdle();
    SetConversationLimits(0, 0);
    return 0;
}
