#include "digital/digitalplayer.h"

#include "log/logmessage.h"

DigitalPlayer::DigitalPlayer(const std::string& drive, RawCdOpener openRaw, SoundOutputOpener openSound,
                             MillisecondClock clock, std::int32_t homeFrame)
    : sound_(std::move(openSound), readAhead_, clock),
      readAhead_(
          drive, [openRaw, drive](std::uint32_t* error) { return openRaw(drive, error); }, clock),
      transport_(clock, 1.0, homeFrame) {
    transport_.AttachSound(&sound_);
    readAhead_.SetDataReady([this] { sound_.DataReady(); });
}

DigitalPlayer::~DigitalPlayer() {
    transport_.AttachSound(nullptr); // the sound stops taking frames
    readAhead_.Stop();
}

void DigitalPlayer::Play(bool hasFrom, std::int32_t from, std::int32_t to) {
    const bool resumes = !hasFrom && to == playTo_ && transport_.CurrentMode() == Mode::Paused && sound_.Paused();
    if (!resumes && !soundLost_) readAhead_.Start(hasFrom ? from : transport_.PositionFrame(), to);
    playTo_ = to;
    std::string problem;
    if (transport_.Play(hasFrom, from, to, &problem)) return;
    // The wave output went away: the play goes on, silently, on the clock.
    soundLost_ = true;
    readAhead_.Stop();
    LogMessage("No audio output for digital playback, it plays silently:", problem.c_str());
}

void DigitalPlayer::Pause() { transport_.Pause(); }

void DigitalPlayer::Stop() {
    transport_.Stop();
    readAhead_.Stop();
}

DigitalPlayer::Mode DigitalPlayer::CurrentMode() { return transport_.CurrentMode(); }

std::int32_t DigitalPlayer::PositionFrame() { return transport_.PositionFrame(); }
