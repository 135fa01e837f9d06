// Plays a drive digitally: its audio sectors, read ahead, go through the wave output.
// It is a drive's transport as the CD audio device would work it (play a range of
// frames, pause, go on from the same sample, stop, where it stands, what it does), but
// the position is what the sound card has played.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "digital/readahead.h"
#include "platform/cdtransport.h"
#include "platform/clock.h"
#include "platform/framesound.h"
#include "platform/rawcd.h"
#include "platform/soundoutput.h"

class DigitalPlayer {
public:
    using Mode = CdTransport::Mode;

    // drive: "D:", opened through openRaw whenever it has to read; homeFrame: where
    // the transport stands before the first play.
    DigitalPlayer(const std::string& drive, RawCdOpener openRaw, SoundOutputOpener openSound, MillisecondClock clock,
                  std::int32_t homeFrame);
    ~DigitalPlayer();

    // Plays the absolute frames [from, to) (from where it stands without hasFrom); a
    // paused play with the same end goes on from the very sample where it stopped.
    void Play(bool hasFrom, std::int32_t from, std::int32_t to);
    void Pause();
    void Stop();
    Mode CurrentMode();
    std::int32_t PositionFrame();

private:
    // In this order: the sound takes its frames from the read-ahead, which wakes it, and
    // the transport works the sound; each goes before what it uses.
    FrameSound sound_;
    ReadAhead readAhead_;
    CdTransport transport_;
    std::int32_t playTo_ = 0;
    bool soundLost_ = false;
};
