// Plays CD audio frames through a wave output, fed on a thread of its own, which the
// owner's destruction stops and joins.
//
// An idle player keeps no audio stream: the wave output opens when play starts and is
// closed once nothing has been playing for IdleCloseMs (stopped, played out, or paused);
// the feeding thread then sleeps until the next command. A pause holds the output
// (waveOutPause, queue kept) and goes on at the very sample where it stopped, and so
// does a pause that outlasted the output: what was queued and unheard is fed again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/soundoutput.h"

// Where the frames come from: an image's files, or a drive read ahead.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Up to count frames from the absolute frame into out (count * 2352 bytes); returns
    // how many are there now, from the first on. Never waits long: a source that has
    // fewer calls the sound's DataReady when more have come.
    virtual std::int32_t Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) = 0;
};

class FrameSound {
public:
    // Longer than the status tick that starts the next track after one played to its
    // end (a second) and than a quick pause, so neither closes the stream; short enough
    // that a stopped or paused player costs nothing within moments.
    static constexpr int IdleCloseMs = 3000;

    // source must outlive the sound.
    FrameSound(SoundOutputOpener open, FrameSource& source, MillisecondClock clock, int idleCloseMs = IdleCloseMs);
    ~FrameSound();
    FrameSound(const FrameSound&) = delete;
    FrameSound& operator=(const FrameSound&) = delete;

    // Plays the frames [from, to), beginning at clock time startAtMs (after a seek).
    // False, with the reason, when no wave output opens: nothing plays then.
    bool Start(std::int32_t from, std::int32_t to, std::int64_t startAtMs, std::string* problem);
    void Pause();
    // Goes on after a pause from the very sample where it stopped; false, with the
    // reason, when the output closed during the pause will not open again.
    bool Resume(std::string* problem);
    void Stop();
    bool Paused();

    // Whole frames heard since the start: what the device played, not what was sent.
    std::int32_t PlayedFrames();
    // Every frame of the range has been played.
    bool Finished();
    // A wave output is open, so a stream may be running.
    bool OutputOpen();
    // The source has more frames for a play that was waiting for them.
    void DataReady();

private:
    enum class State { Idle, Starting, Playing, Paused };
    void Run();
    void Feed();        // with mutex_ held
    void CloseOutput(); // with mutex_ held
    std::uint64_t PlayedBytes(); // with mutex_ held

    SoundOutputOpener open_;
    FrameSource& source_;
    MillisecondClock clock_;
    int idleCloseMs_;
    std::unique_ptr<SoundOutput> output_; // opened by commands, closed only by the thread
    std::vector<std::uint8_t> block_;
    std::mutex mutex_;
    std::condition_variable wake_;
    State state_ = State::Idle;
    bool quit_ = false;
    bool playedOut_ = false;
    std::int32_t from_ = 0, to_ = 0;
    std::int32_t next_ = 0;          // the next frame to queue
    std::int32_t pending_ = 0;       // frames from next_ in block_, short of a block
    std::uint32_t skipBytes_ = 0;    // of frame next_, already heard before the output closed
    std::uint64_t playedBefore_ = 0; // bytes of the range heard through outputs since closed
    std::int64_t startAt_ = 0;
    std::int64_t idleSince_ = 0;     // clock time nothing has been playing since
    std::thread thread_; // last: starts once everything above is ready
};
