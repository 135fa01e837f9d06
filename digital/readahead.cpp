#include "digital/readahead.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "log/logmessage.h"

namespace {
// Frames kept behind the first one not taken: what a sound has queued in its two
// blocks, which it takes again when its output closed during a pause.
constexpr std::int32_t KeepBehindFrames = 2 * static_cast<std::int32_t>(SoundBlockFrames);
// How often an idle reader looks at the clock before it releases the drive.
constexpr int IdlePollMs = 1000;
} // namespace

ReadAhead::ReadAhead(std::string name, std::function<std::unique_ptr<RawCdDrive>(std::uint32_t* error)> open,
                     MillisecondClock clock, int releaseAfterMs)
    : name_(std::move(name)), open_(std::move(open)), clock_(std::move(clock)), releaseAfterMs_(releaseAfterMs),
      thread_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void ReadAhead::SetDataReady(std::function<void()> dataReady) {
    std::lock_guard<std::mutex> lock(mutex_);
    dataReady_ = std::move(dataReady);
}

void ReadAhead::Start(std::int32_t from, std::int32_t to) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        active_ = true;
        to_ = to;
        first_ = taken_ = from;
        frames_.clear();
    }
    wake_.notify_all();
}

void ReadAhead::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        active_ = false;
        frames_.clear();
    }
    wake_.notify_all();
}

std::int32_t ReadAhead::Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) {
    std::int32_t got = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!active_) return 0;
        const std::int32_t end = first_ + static_cast<std::int32_t>(frames_.size());
        if (frame < first_ || frame > end) {
            // Not where the reading stands: it starts again there.
            ++generation_;
            first_ = taken_ = frame;
            frames_.clear();
        } else {
            got = std::min(count, end - frame);
            for (std::int32_t i = 0; i < got; ++i)
                std::memcpy(out + static_cast<std::size_t>(i) * RawSectorBytes,
                            frames_[static_cast<std::size_t>(frame - first_ + i)].data(), RawSectorBytes);
            taken_ = frame + got;
            while (!frames_.empty() && first_ < taken_ - KeepBehindFrames) {
                frames_.pop_front();
                ++first_;
            }
        }
    }
    wake_.notify_all();
    return got;
}

std::int32_t ReadAhead::FramesAhead() {
    std::lock_guard<std::mutex> lock(mutex_);
    return first_ + static_cast<std::int32_t>(frames_.size()) - taken_;
}

bool ReadAhead::DriveOpen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return driveOpen_;
}

std::uint32_t ReadAhead::ReadOnce(std::int32_t frame, std::int32_t count, std::uint8_t* out) {
    if (!drive_) {
        std::uint32_t error = 0;
        drive_ = open_(&error);
        if (!drive_) return error ? error : win32error::NotReady;
        std::lock_guard<std::mutex> lock(mutex_);
        driveOpen_ = true;
    }
    return drive_->ReadAudio(frame - RawLeadInFrames, count, out);
}

void ReadAhead::NoteFailure(std::int32_t frame, std::uint32_t error) {
    if (failing_) return; // one line for the whole run
    failing_ = true;
    const std::string text =
        "Drive " + name_ + " cannot read audio at sector " + std::to_string(frame - RawLeadInFrames) + ", playing silence:";
    LogMessage(text.c_str(), SystemErrorText(error).c_str());
}

void ReadAhead::ReadSectors(std::int32_t frame, std::int32_t count, std::vector<Frame>* frames) {
    std::uint32_t error = 0;
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        if ((error = ReadOnce(frame, count, (*frames)[0].data())) == 0) {
            failing_ = false;
            return;
        }
    }
    // Some sector of them fails: each is read by itself, so that only the bad ones
    // are lost.
    for (std::int32_t i = 0; i < count; ++i) {
        Frame& sector = (*frames)[static_cast<std::size_t>(i)];
        for (int attempt = 0; count > 1 && attempt < ReadAttempts; ++attempt)
            if ((error = ReadOnce(frame + i, 1, sector.data())) == 0) break;
        if (error == 0) {
            failing_ = false;
            continue;
        }
        sector.fill(0);
        NoteFailure(frame + i, error);
    }
}

void ReadAhead::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        const std::int32_t end = first_ + static_cast<std::int32_t>(frames_.size());
        const std::int32_t room = ReadAheadFrames - (end - taken_);
        if (active_ && end < to_ && room > 0) {
            const std::uint64_t generation = generation_;
            const std::int32_t count = std::min({MaxRawReadSectors, to_ - end, room});
            lock.unlock();
            std::vector<Frame> read(static_cast<std::size_t>(count));
            ReadSectors(end, count, &read);
            lock.lock();
            lastReadAt_ = clock_();
            if (generation != generation_) continue; // started elsewhere meanwhile
            frames_.insert(frames_.end(), read.begin(), read.end());
            const std::function<void()> dataReady = dataReady_;
            lock.unlock();
            if (dataReady) dataReady();
            lock.lock();
            continue;
        }
        if (driveOpen_) {
            const std::int64_t left = lastReadAt_ + releaseAfterMs_ - clock_();
            if (left <= 0) {
                lock.unlock();
                drive_.reset(); // released for other programs
                lock.lock();
                driveOpen_ = false;
                continue;
            }
            wake_.wait_for(lock, std::chrono::milliseconds(std::min<std::int64_t>(left, IdlePollMs)));
            continue;
        }
        wake_.wait(lock);
    }
}
