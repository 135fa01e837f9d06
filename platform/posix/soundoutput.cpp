// No wave device here: the sound "plays" at its own rate against the drive's clock, so
// that positions, pauses and the end of a range behave as they would with one.
#include "platform/soundoutput.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

class ClockSoundOutput : public SoundOutput {
public:
    explicit ClockSoundOutput(MillisecondClock clock) : clock_(std::move(clock)) {}

    bool BlockFree() override {
        std::lock_guard<std::mutex> lock(mutex_);
        Retire();
        return blockEnds_.size() < 2;
    }
    bool Idle() override {
        std::lock_guard<std::mutex> lock(mutex_);
        Retire();
        return blockEnds_.empty();
    }
    void Queue(const std::uint8_t*, std::size_t size) override {
        std::lock_guard<std::mutex> lock(mutex_);
        // Run dry, a device waits for more; its count goes on from where it stood.
        if (Played() >= queued_) Rebase(queued_);
        queued_ += size;
        blockEnds_.push_back(queued_);
    }
    void Pause() override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!paused_) Rebase(Played());
        paused_ = true;
    }
    void Resume() override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (paused_) Rebase(base_);
        paused_ = false;
    }
    void Reset() override {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_ = 0;
        blockEnds_.clear();
        paused_ = false;
        Rebase(0);
    }
    std::uint64_t PlayedBytes() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return Played();
    }
    // The clock may be a test's, which real time does not move: look again soon.
    void WaitForBlock(int ms) override {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(std::min(ms, 50)), [this] { return woken_; });
        woken_ = false;
    }
    void Wake() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            woken_ = true;
        }
        wake_.notify_all();
    }

private:
    std::uint64_t Played() const {
        if (paused_) return base_;
        const std::int64_t elapsed = std::max<std::int64_t>(clock_() - since_, 0);
        return std::min<std::uint64_t>(queued_, base_ + static_cast<std::uint64_t>(elapsed) * SoundBytesPerSecond / 1000);
    }
    void Rebase(std::uint64_t played) {
        base_ = played;
        since_ = clock_();
    }
    void Retire() {
        const std::uint64_t played = Played();
        while (!blockEnds_.empty() && blockEnds_.front() <= played) blockEnds_.pop_front();
    }

    MillisecondClock clock_;
    std::mutex mutex_;
    std::uint64_t queued_ = 0;
    std::deque<std::uint64_t> blockEnds_;
    std::uint64_t base_ = 0;  // played when since_ was taken
    std::int64_t since_ = 0;
    bool paused_ = false;
    std::condition_variable wake_;
    bool woken_ = false;
};

} // namespace

std::unique_ptr<SoundOutput> OpenSoundOutput(MillisecondClock clock, std::string*) {
    return std::make_unique<ClockSoundOutput>(std::move(clock));
}
