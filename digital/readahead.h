// Reads a drive's audio sectors ahead of the sound on a thread of its own, so that a
// spin-up or a seek does not gap the sound: at least ReadAheadFrames are kept ready past
// what the sound has taken. A sector that will not read is tried again a few times,
// then played as silence, with one log line per run of such sectors; play goes on. The
// drive is released when nothing has been read for ReleaseAfterMs, and opened again
// when reading resumes.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/framesound.h"
#include "platform/rawcd.h"

class ReadAhead : public FrameSource {
public:
    static constexpr std::int32_t ReadAheadFrames = 3 * 75;
    // A failing read is made this many times in all before its sectors are silence.
    static constexpr int ReadAttempts = 3;
    // Half a minute of not reading: the drive may spin down and others may have it.
    static constexpr int ReleaseAfterMs = 30000;

    // open opens the drive (again); dataReady is called, with no lock held, when frames
    // have come. name is the drive's, for the log.
    ReadAhead(std::string name, std::function<std::unique_ptr<RawCdDrive>(std::uint32_t* error)> open,
              MillisecondClock clock, int releaseAfterMs = ReleaseAfterMs);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    void SetDataReady(std::function<void()> dataReady);
    // Reads the frames [from, to) from now on; what was read before is dropped.
    void Start(std::int32_t from, std::int32_t to);
    // Reads nothing more and drops what it holds.
    void Stop();

    // The frames held from frame on. The frames just taken stay a while (as long as two
    // sound blocks), so a sound that closed its output during a pause can take them again.
    std::int32_t Read(std::int32_t frame, std::int32_t count, std::uint8_t* out) override;

    // For tests: frames held from the first frame not yet taken, and whether the drive
    // is open.
    std::int32_t FramesAhead();
    bool DriveOpen();

private:
    using Frame = std::array<std::uint8_t, RawSectorBytes>;
    void Run();
    // Reads count sectors from frame into frames with the retry-then-silence rule;
    // without mutex_ held.
    void ReadSectors(std::int32_t frame, std::int32_t count, std::vector<Frame>* frames);
    std::uint32_t ReadOnce(std::int32_t frame, std::int32_t count, std::uint8_t* out);
    void NoteFailure(std::int32_t frame, std::uint32_t error);

    std::string name_;
    std::function<std::unique_ptr<RawCdDrive>(std::uint32_t* error)> open_;
    MillisecondClock clock_;
    int releaseAfterMs_;
    std::function<void()> dataReady_;
    std::unique_ptr<RawCdDrive> drive_; // used and released by the thread only
    bool failing_ = false;              // the last sector read failed: a run is under way

    std::mutex mutex_;
    std::condition_variable wake_;
    bool quit_ = false;
    std::uint64_t generation_ = 0; // counts Start and Stop: a read made for an older one is dropped
    bool active_ = false;
    std::int32_t to_ = 0;
    std::int32_t first_ = 0;        // the frame of frames_.front()
    std::int32_t taken_ = 0;        // the first frame not yet taken
    std::deque<Frame> frames_;      // [first_, first_ + size)
    std::int64_t lastReadAt_ = 0;
    bool driveOpen_ = false;
    std::thread thread_; // last: starts once everything above is ready
};
