#include "platform/virtualcd/imagesound.h"

#include <algorithm>
#include <chrono>

namespace {
// The feeder sleeps until the device finishes a block (about every 530 ms) or a command
// wakes it; these bound its sleep in case a device never says.
constexpr int BlockWaitMs = 1000;
constexpr int StartPollMs = 50;
} // namespace

ImageSound::ImageSound(std::unique_ptr<SoundOutput> output, ImageSoundReader reader, VirtualCdClock clock)
    : output_(std::move(output)), reader_(std::move(reader)), clock_(std::move(clock)), block_(SoundBlockBytes),
      thread_([this] { Run(); }) {}

ImageSound::~ImageSound() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        output_->Reset();
    }
    wake_.notify_all();
    output_->Wake();
    thread_.join();
}

void ImageSound::Start(std::int32_t from, std::int32_t to, std::int64_t startAtMs) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        output_->Reset();
        from_ = next_ = from;
        to_ = std::max(from, to);
        startAt_ = startAtMs;
        state_ = State::Starting;
    }
    wake_.notify_all();
    output_->Wake();
}

void ImageSound::Pause() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != State::Starting && state_ != State::Playing) return;
    output_->Pause();
    state_ = State::Paused;
}

void ImageSound::Resume() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Paused) return;
        output_->Resume();
        state_ = State::Playing;
    }
    wake_.notify_all();
    output_->Wake();
}

void ImageSound::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    output_->Reset();
    state_ = State::Idle;
}

bool ImageSound::Paused() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Paused;
}

std::int32_t ImageSound::PlayedFramesLocked() {
    const std::int32_t range = to_ - from_;
    if (next_ == to_ && output_->Idle()) return range;
    const std::uint64_t frames = output_->PlayedBytes() / 2352;
    return static_cast<std::int32_t>(std::min<std::uint64_t>(frames, static_cast<std::uint64_t>(range)));
}

std::int32_t ImageSound::PlayedFrames() {
    std::lock_guard<std::mutex> lock(mutex_);
    return PlayedFramesLocked();
}

bool ImageSound::Finished() {
    std::lock_guard<std::mutex> lock(mutex_);
    return (state_ == State::Playing || state_ == State::Idle) && next_ == to_ && output_->Idle();
}

void ImageSound::Feed() {
    while (next_ < to_ && output_->BlockFree()) {
        const std::int32_t count = std::min<std::int32_t>(static_cast<std::int32_t>(SoundBlockFrames), to_ - next_);
        reader_.Read(next_, count, block_.data());
        output_->Queue(block_.data(), static_cast<std::size_t>(count) * 2352);
        next_ += count;
    }
}

void ImageSound::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        if (state_ == State::Starting) {
            const std::int64_t wait = startAt_ - clock_();
            if (wait > 0) {
                wake_.wait_for(lock, std::chrono::milliseconds(std::min<std::int64_t>(wait, StartPollMs)));
                continue;
            }
            state_ = State::Playing;
        }
        if (state_ != State::Playing) {
            wake_.wait(lock);
            continue;
        }
        Feed();
        if (next_ == to_ && output_->Idle()) {
            state_ = State::Idle; // played out
            continue;
        }
        lock.unlock();
        output_->WaitForBlock(BlockWaitMs);
        lock.lock();
    }
}
