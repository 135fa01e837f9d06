#include "platform/cdtransport.h"

#include <cmath>

#include "platform/framesound.h"

CdTransport::CdTransport(MillisecondClock clock, double speed, std::int32_t homeFrame, std::int32_t seekMs)
    : clock_(std::move(clock)), speed_(speed > 0 ? speed : 1.0), seekMs_(seekMs > 0 ? seekMs : 0),
      position_(homeFrame) {}

void CdTransport::Advance() {
    if (mode_ == Mode::Seeking && clock_() >= startedAt_) {
        mode_ = Mode::Playing;
        position_ = playFrom_;
    }
    if (mode_ != Mode::Playing) return;
    double played = 0;
    if (sound_) {
        played = sound_->Finished() ? playTo_ - playFrom_ : sound_->PlayedFrames();
    } else {
        const double elapsedMs = static_cast<double>(clock_() - startedAt_);
        played = std::floor(elapsedMs * speed_ * 75.0 / 1000.0);
    }
    const double reached = playFrom_ + (played > 0 ? played : 0);
    if (reached >= playTo_) {
        position_ = playTo_;
        mode_ = Mode::Stopped;
    } else {
        position_ = static_cast<std::int32_t>(reached);
    }
}

void CdTransport::AttachSound(FrameSound* sound) {
    if (sound_) sound_->Stop();
    sound_ = sound;
}

bool CdTransport::Play(bool hasFrom, std::int32_t from, std::int32_t to, std::string* soundProblem) {
    Advance();
    std::string problem;
    // Going on after a pause, the sound resumes at the sample where it stopped; its
    // count of played frames still runs from where the play began.
    if (sound_ && !hasFrom && mode_ == Mode::Paused && to == playTo_ && sound_->Paused()) {
        if (sound_->Resume(&problem)) {
            mode_ = Mode::Playing;
            return true;
        }
        // The output closed during the pause and will not open again: the rest plays
        // on the clock from where the sound stopped.
        sound_ = nullptr;
        hasFrom = false;
    }
    playFrom_ = hasFrom ? from : position_;
    playTo_ = to;
    const bool seeks = hasFrom && seekMs_ > 0;
    // While it seeks, the drive's position still reads where it was.
    if (!seeks || playFrom_ >= playTo_) position_ = playFrom_;
    startedAt_ = clock_() + (seeks ? seekMs_ : 0);
    mode_ = playFrom_ >= playTo_ ? Mode::Stopped : seeks ? Mode::Seeking : Mode::Playing;
    if (sound_) {
        if (mode_ == Mode::Stopped) sound_->Stop();
        else if (!sound_->Start(playFrom_, playTo_, startedAt_, &problem)) sound_ = nullptr;
    }
    if (problem.empty()) return true;
    if (soundProblem) *soundProblem = problem;
    return false;
}

void CdTransport::Pause() {
    // The sound stops first, so that the position is the one heard last.
    if (sound_ && (mode_ == Mode::Playing || mode_ == Mode::Seeking)) sound_->Pause();
    Advance();
    if (mode_ == Mode::Seeking) position_ = playFrom_; // the seek still ends where it was going
    if (mode_ == Mode::Playing || mode_ == Mode::Seeking) mode_ = Mode::Paused;
}

void CdTransport::Stop() {
    Advance();
    if (sound_) sound_->Stop();
    if (mode_ == Mode::Seeking) position_ = playFrom_;
    if (mode_ != Mode::DoorOpen) mode_ = Mode::Stopped;
}

void CdTransport::OpenDoor() {
    Advance();
    if (sound_) sound_->Stop();
    mode_ = Mode::DoorOpen;
}

CdTransport::Mode CdTransport::CurrentMode() {
    Advance();
    return mode_;
}

std::int32_t CdTransport::PositionFrame() {
    Advance();
    return position_;
}
