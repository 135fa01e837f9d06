// A wave device for tests that records what it is given. It plays what it holds when
// the test says so (played), or as fast as it is fed (instant).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/soundoutput.h"

class RecordingOutput : public SoundOutput {
public:
    struct Shared {
        std::mutex mutex;
        std::string bytes;
        std::uint64_t played = 0;
        bool instant = false;
        bool paused = false;
        int resets = 0;
    };
    explicit RecordingOutput(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    bool BlockFree() override { return Queued() < 2; }
    bool Idle() override { return Queued() == 0; }
    void Queue(const std::uint8_t* bytes, std::size_t size) override {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->bytes.append(reinterpret_cast<const char*>(bytes), size);
        ends_.push_back(shared_->bytes.size());
    }
    void Pause() override {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->paused = true;
    }
    void Resume() override {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->paused = false;
    }
    void Reset() override {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        ++shared_->resets;
        shared_->bytes.clear();
        shared_->played = 0;
        shared_->paused = false;
        ends_.clear();
    }
    std::uint64_t PlayedBytes() override {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        return Played();
    }
    void WaitForBlock(int) override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
    void Wake() override {}

private:
    std::uint64_t Played() {
        if (shared_->instant && !shared_->paused) shared_->played = shared_->bytes.size();
        return shared_->played;
    }
    std::size_t Queued() {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        const std::uint64_t played = Played();
        std::size_t queued = 0;
        for (std::uint64_t end : ends_)
            if (end > played) ++queued;
        return queued;
    }
    std::shared_ptr<Shared> shared_;
    std::vector<std::uint64_t> ends_;
};

inline bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

