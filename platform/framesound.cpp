#include "platform/framesound.h"

#include <algorithm>
#include <chrono>

namespace {
// The feeder sleeps until the device finishes a block (about every 530 ms) or a command
// wakes it; these bound its sleep in case a device never says, and how often it looks
// at a clock that tests move by hand.
constexpr int BlockWaitMs = 1000;
constexpr int StartPollMs = 50;
constexpr int IdlePollMs = 100;
} // namespace

FrameSound::FrameSound(SoundOutputOpener open, FrameSource& source, MillisecondClock clock, int idleCloseMs)
    : open_(std::move(open)), source_(source), clock_(std::move(clock)), idleCloseMs_(idleCloseMs),
      block_(SoundBlockBytes), thread_([this] { Run(); }) {}

FrameSound::~FrameSound() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        if (output_) {
            output_->Reset();
            output_->Wake();
        }
    }
    wake_.notify_all();
    thread_.join();
}

bool FrameSound::Start(std::int32_t from, std::int32_t to, std::int64_t startAtMs, std::string* problem) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (output_) output_->Reset();
        else output_ = open_(problem);
        if (!output_) {
            state_ = State::Idle;
            return false;
        }
        from_ = next_ = from;
        to_ = std::max(from, to);
        pending_ = 0;
        skipBytes_ = 0;
        playedBefore_ = 0;
        playedOut_ = false;
        startAt_ = startAtMs;
        state_ = State::Starting;
        output_->Wake();
    }
    wake_.notify_all();
    return true;
}

void FrameSound::Pause() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Starting && state_ != State::Playing) return;
        if (output_) output_->Pause();
        state_ = State::Paused;
        idleSince_ = clock_();
    }
    wake_.notify_all();
}

bool FrameSound::Resume(std::string* problem) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Paused) return true;
        if (output_) {
            output_->Resume();
        } else if (!(output_ = open_(problem))) {
            state_ = State::Idle;
            return false;
        }
        state_ = clock_() < startAt_ ? State::Starting : State::Playing;
        output_->Wake();
    }
    wake_.notify_all();
    return true;
}

void FrameSound::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (output_) output_->Reset();
        if (state_ != State::Idle) idleSince_ = clock_();
        state_ = State::Idle;
    }
    wake_.notify_all();
}

bool FrameSound::Paused() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Paused;
}

std::uint64_t FrameSound::PlayedBytes() { return playedBefore_ + (output_ ? output_->PlayedBytes() : 0); }

std::int32_t FrameSound::PlayedFrames() {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int32_t range = to_ - from_;
    if (playedOut_) return range;
    const std::uint64_t frames = PlayedBytes() / SoundFrameBytes;
    return static_cast<std::int32_t>(std::min<std::uint64_t>(frames, static_cast<std::uint64_t>(range)));
}

bool FrameSound::Finished() {
    std::lock_guard<std::mutex> lock(mutex_);
    return playedOut_;
}

bool FrameSound::OutputOpen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return output_ != nullptr;
}

void FrameSound::DataReady() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (output_ && state_ == State::Playing) output_->Wake();
}

void FrameSound::Feed() {
    while (next_ < to_ && output_->BlockFree()) {
        // Whole blocks only (the last one of the range aside): a source that has a few
        // frames now and more later would otherwise fill the queue with crumbs.
        const std::int32_t wanted = std::min<std::int32_t>(static_cast<std::int32_t>(SoundBlockFrames), to_ - next_);
        pending_ += std::max(source_.Read(next_ + pending_, wanted - pending_,
                                          block_.data() + static_cast<std::size_t>(pending_) * SoundFrameBytes),
                             0);
        if (pending_ < wanted) return; // the source calls DataReady when it has more
        const std::size_t bytes = static_cast<std::size_t>(wanted) * SoundFrameBytes;
        output_->Queue(block_.data() + skipBytes_, bytes - skipBytes_);
        skipBytes_ = 0;
        next_ += wanted;
        pending_ = 0;
    }
}

void FrameSound::CloseOutput() {
    if (state_ == State::Paused) {
        // What was queued but not heard goes with the output: the play goes on from the
        // sample heard last, fed again when it resumes.
        const std::uint64_t heard = PlayedBytes();
        next_ = from_ + static_cast<std::int32_t>(heard / SoundFrameBytes);
        pending_ = 0;
        skipBytes_ = static_cast<std::uint32_t>(heard % SoundFrameBytes);
        playedBefore_ = heard;
    }
    output_.reset();
}

void FrameSound::Run() {
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
        if (state_ == State::Playing) {
            Feed();
            if (next_ == to_ && output_->Idle()) {
                playedOut_ = true;
                state_ = State::Idle;
                idleSince_ = clock_();
                continue;
            }
            SoundOutput* output = output_.get(); // only this thread closes it
            lock.unlock();
            output->WaitForBlock(BlockWaitMs);
            lock.lock();
            continue;
        }
        // Nothing to play: the output closes after a while, then the thread sleeps
        // until a command wakes it.
        if (!output_) {
            wake_.wait(lock);
            continue;
        }
        const std::int64_t left = idleSince_ + idleCloseMs_ - clock_();
        if (left <= 0) {
            CloseOutput();
            continue;
        }
        wake_.wait_for(lock, std::chrono::milliseconds(std::min<std::int64_t>(left, IdlePollMs)));
    }
}
