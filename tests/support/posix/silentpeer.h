// A server that has stalled: it takes connections and keeps them open, but never sends
// a byte, as a real cddb or SMTP server does when it hangs after accepting.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class SilentPeer {
public:
    SilentPeer() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptUntilStopped(); });
    }
    ~SilentPeer() {
        stopping_ = true;
        if (acceptor_.joinable()) acceptor_.join();
        for (const int connection : connections_) close(connection);
        close(listener_);
    }
    SilentPeer(const SilentPeer&) = delete;
    SilentPeer& operator=(const SilentPeer&) = delete;

    int Port() const { return port_; }

    // True once a client has connected (and is now waiting for the server).
    bool WaitForConnection() {
        std::unique_lock<std::mutex> hold(mutex_);
        return accepted_.wait_for(hold, std::chrono::seconds(20), [this] { return !connections_.empty(); });
    }

private:
    void AcceptUntilStopped() {
        while (!stopping_) {
            pollfd ready{listener_, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0) continue;
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0) continue;
            std::lock_guard<std::mutex> hold(mutex_);
            connections_.push_back(connection);
            accepted_.notify_all();
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::condition_variable accepted_;
    std::vector<int> connections_;
};
