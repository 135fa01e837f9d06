// What a CD drive's transport does: play a range of frames against a clock, pause,
// stop, open the door. Positions are absolute frames (75 a second).
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

class FrameSound;

class CdTransport {
public:
    enum class Mode { Stopped, Seeking, Playing, Paused, DoorOpen };

    // speed: disc seconds per clock second; seekMs: clock milliseconds a play from a
    // given frame seeks before the music starts.
    CdTransport(MillisecondClock clock, double speed, std::int32_t homeFrame, std::int32_t seekMs = 0);

    // Plays [from, to): from the given frame (after the seek), or from where the
    // transport stands. False, with the reason, when the attached sound found no wave
    // output: the sound is detached and the play goes on, silently, on the clock.
    bool Play(bool hasFrom, std::int32_t from, std::int32_t to, std::string* soundProblem = nullptr);
    // Pause and stop keep the position; only a seeking or playing transport pauses.
    void Pause();
    void Stop();
    void OpenDoor();

    // A drive with an image plays its sound: the position then follows what the sound
    // output has played instead of the clock. Null detaches it.
    void AttachSound(FrameSound* sound);

    Mode CurrentMode();
    std::int32_t PositionFrame();

private:
    // Brings a playing transport up to the clock; at the end of its range it stops there.
    void Advance();

    MillisecondClock clock_;
    double speed_;
    std::int32_t seekMs_;
    Mode mode_ = Mode::Stopped;
    std::int32_t position_;      // while not playing
    std::int32_t playFrom_ = 0;  // while playing: where the range started
    std::int32_t playTo_ = 0;
    std::int64_t startedAt_ = 0; // clock milliseconds at playFrom_ (when the seek ends)
    FrameSound* sound_ = nullptr;
};
