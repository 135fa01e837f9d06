// Plays an image's frames through a sound output on a thread of its own, which the
// owner's destruction stops and joins.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/virtualcd/imagefiles.h"
#include "platform/virtualcd/soundoutput.h"

class ImageSound {
public:
    ImageSound(std::unique_ptr<SoundOutput> output, ImageSoundReader reader, VirtualCdClock clock);
    ~ImageSound();
    ImageSound(const ImageSound&) = delete;
    ImageSound& operator=(const ImageSound&) = delete;

    // Plays the frames [from, to), beginning at clock time startAtMs (after a seek).
    void Start(std::int32_t from, std::int32_t to, std::int64_t startAtMs);
    void Pause();
    // Goes on after a pause from the very sample where it stopped.
    void Resume();
    void Stop();
    bool Paused();

    // Whole frames heard since the start: what the device played, not what was sent.
    std::int32_t PlayedFrames();
    // Every frame of the range has been played.
    bool Finished();

private:
    enum class State { Idle, Starting, Playing, Paused };
    void Run();
    void Feed(); // with mutex_ held
    std::int32_t PlayedFramesLocked();

    std::unique_ptr<SoundOutput> output_;
    ImageSoundReader reader_;
    VirtualCdClock clock_;
    std::vector<std::uint8_t> block_;
    std::mutex mutex_;
    std::condition_variable wake_;
    State state_ = State::Idle;
    bool quit_ = false;
    std::int32_t from_ = 0, to_ = 0, next_ = 0;
    std::int64_t startAt_ = 0;
    std::thread thread_; // last: starts once everything above is ready
};
