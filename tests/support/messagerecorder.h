// Stands in for the window message seam (InstallWindowMessageSender): records each
// message a worker sends, with what the test wants to know of the moment it was sent,
// and lets the test wait for them. Workers send from their own threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/uinotify.h"

struct NoMoment {};

template <typename Moment = NoMoment>
class MessageRecorder : public WindowMessageSender {
public:
    struct Sent {
        WindowHandle window;
        unsigned message;
        Moment moment;
    };
    using Sents = std::vector<Sent>;

    // capture runs on the sending thread while it sends.
    explicit MessageRecorder(std::function<Moment()> capture = [] { return Moment{}; })
        : capture_(std::move(capture)) {}

    std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t, std::intptr_t) override {
        const Sent sent{window, message, capture_()};
        std::lock_guard<std::mutex> hold(mutex_);
        sent_.push_back(sent);
        arrived_.notify_all();
        return 0;
    }

    // Waits until the messages sent so far satisfy done, or the limit has passed.
    bool WaitUntil(const std::function<bool(const Sents&)>& done,
                   std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        std::unique_lock<std::mutex> hold(mutex_);
        return arrived_.wait_for(hold, limit, [&] { return done(sent_); });
    }
    // Waits for at least count messages (or the limit); returns all sent by then.
    Sents WaitFor(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        WaitUntil([count](const Sents& sent) { return sent.size() >= count; }, limit);
        return All();
    }
    Sents All() {
        std::lock_guard<std::mutex> hold(mutex_);
        return sent_;
    }
    void Clear() {
        std::lock_guard<std::mutex> hold(mutex_);
        sent_.clear();
    }

private:
    std::function<Moment()> capture_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    Sents sent_;
};
