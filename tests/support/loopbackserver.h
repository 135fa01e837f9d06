// A scripted server on the loopback interface, for conversations over real sockets:
// it accepts one connection, plays its steps, and records every line the client sent.
// Header-only so that the native and the Win32 test programs share it.
#pragma once

#ifdef _WIN32
#include <winsock.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace loopback {

#ifdef _WIN32
using RawSocket = SOCKET;
inline void CloseRaw(RawSocket s) { closesocket(s); }
constexpr RawSocket NoRaw = INVALID_SOCKET;
constexpr int SendFlags = 0;
#else
// A client that hung up early must show as a failed send, not end the test by SIGPIPE.
constexpr int SendFlags = MSG_NOSIGNAL;
using RawSocket = int;
inline void CloseRaw(RawSocket s) { close(s); }
constexpr RawSocket NoRaw = -1;
#endif

struct Step {
    enum Kind { Send, Expect, Pause, Close } kind;
    std::string text; // Send: the bytes; Expect: what the client should send
    int milliseconds = 0;
};

// Waits up to milliseconds for the socket to become readable.
inline bool Readable(RawSocket s, int milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &limit) > 0;
}

class Server {
public:
    // Listens at once, so the port is known before the client connects. The caller has
    // started the socket layer (WSAStartup under Windows).
    explicit Server(std::vector<Step> steps) : steps_(std::move(steps)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        socklen_type length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }

    ~Server() { Finish(); }

    int Port() const { return port_; }

    // Waits for the script to end; afterwards Transcript() is complete.
    void Finish() {
        if (thread_.joinable()) thread_.join();
        if (listener_ != NoRaw) CloseRaw(listener_);
        listener_ = NoRaw;
    }

    // The lines the client sent, one per Expect step, then whatever else it sent before
    // it closed, as one more element.
    const std::vector<std::string>& Transcript() const { return transcript_; }
    bool Accepted() const { return accepted_; }

private:
#ifdef _WIN32
    using socklen_type = int;
#else
    using socklen_type = socklen_t;
#endif

    // One line from the client, up to and with its "\n"; what arrived when it stops.
    std::string ReadLine(RawSocket s) {
        std::string line;
        char c;
        while (Readable(s, 5000) && recv(s, &c, 1, 0) == 1) {
            line += c;
            if (c == '\n') break;
        }
        return line;
    }

    void Run() {
        if (!Readable(listener_, 10000)) return;
        RawSocket s = accept(listener_, nullptr, nullptr);
        if (s == NoRaw) return;
        accepted_ = true;
        int on = 1;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        bool open = true;
        for (const Step& step : steps_) {
            switch (step.kind) {
            case Step::Send: {
                std::size_t sent = 0;
                while (sent < step.text.size()) {
                    const int n = send(s, step.text.data() + sent, static_cast<int>(step.text.size() - sent), SendFlags);
                    if (n <= 0) break;
                    sent += static_cast<std::size_t>(n);
                }
                break;
            }
            case Step::Expect:
                transcript_.push_back(ReadLine(s));
                break;
            case Step::Pause:
                std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
                break;
            case Step::Close:
                CloseRaw(s);
                open = false;
                break;
            }
            if (!open) break;
        }
        if (open) {
            // Anything more the client says before it hangs up.
            std::string rest;
            char buffer[256];
            while (Readable(s, 5000)) {
                const int n = recv(s, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                rest.append(buffer, static_cast<std::size_t>(n));
            }
            if (!rest.empty()) transcript_.push_back(rest);
            CloseRaw(s);
        }
    }

    std::vector<Step> steps_;
    RawSocket listener_ = NoRaw;
    int port_ = 0;
    bool accepted_ = false;
    std::vector<std::string> transcript_;
    std::thread thread_;
};

} // namespace loopback
