// The wave output: 44.1 kHz 16-bit stereo PCM, written in blocks as a wave device takes
// them. Win32 builds play it through waveOut; native builds have a stand-in that plays
// silently on a clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Whether another block can be queued now (two are in play at most).
    virtual bool BlockFree() = 0;
    // Nothing queued is left to play.
    virtual bool Idle() = 0;
    // Queues a copy of size bytes (at most SoundBlockBytes) after what is queued.
    virtual void Queue(const std::uint8_t* bytes, std::size_t size) = 0;
    // Holds the stream where it is, queue kept; Resume goes on from that sample.
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops what is queued, unpauses, and counts played bytes from 0 again.
    virtual void Reset() = 0;
    // Bytes the device has played since the last reset.
    virtual std::uint64_t PlayedBytes() = 0;
    // Returns when a block has finished, Wake was called, or after ms.
    virtual void WaitForBlock(int ms) = 0;
    // Ends a WaitForBlock under way (or the next one) at once.
    virtual void Wake() = 0;
};

// Null with the reason when no wave device will take CD audio. The clock drives the
// native stand-in; waveOut keeps its own.
std::unique_ptr<SoundOutput> OpenSoundOutput(MillisecondClock clock, std::string* problem);

// Opens a wave output (tests hand in one of their own); null with the reason.
using SoundOutputOpener = std::function<std::unique_ptr<SoundOutput>(std::string* problem)>;

// 40 frames a block: about half a second, so two blocks ride out a late wake-up.
constexpr std::size_t SoundBlockFrames = 40;
constexpr std::size_t SoundFrameBytes = 2352;
constexpr std::size_t SoundBlockBytes = SoundBlockFrames * SoundFrameBytes;
constexpr std::uint32_t SoundBytesPerSecond = 44100 * 4;
