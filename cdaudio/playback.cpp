#include <algorithm>

#include "log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "digital/digitalplayer.h"
#include "cdaudio/mcireport.h"
#include "platform/cdaudiodriver.h"

namespace {

bool IsTrackNumber(const CdDeviceRecord& device, std::int32_t track) {
    return track >= 1 && track <= device.trackCount &&
           static_cast<std::size_t>(track) < device.toc.size(); // the table also holds the lead-out
}

bool IsAudio(const CdDeviceRecord& device, std::int32_t track) {
    return IsTrackNumber(device, track) && device.toc[track - 1].type == TrackAudio;
}

// An enhanced CD keeps its data in a later session after the audio: the first
// session's lead-out (6750 frames), the second's lead-in (4500) and its first track's
// pregap (150) lie inside the length the drive reports for the last audio track.
constexpr std::int32_t SessionGapFrames = 11400;

bool OnlyDataAfter(const CdDeviceRecord& device, std::int32_t track) {
    for (std::int32_t later = track + 1; later <= device.trackCount; ++later)
        if (IsAudio(device, later)) return false;
    return track < device.trackCount;
}

std::int32_t PlayableFrames(const CdDeviceRecord& device, std::int32_t track) {
    const std::int32_t length = TrackLengthFrames(device.toc[track - 1]);
    if (track == device.trackCount || IsAudio(device, track + 1)) return length;
    // Drives play no data: stop short of the session gap, or of the data track (the
    // driver would move an end on a data track's first frame past that track).
    const std::int32_t cut = OnlyDataAfter(device, track) && length > SessionGapFrames + 1 ? SessionGapFrames : 1;
    return length > cut ? length - cut : length;
}

std::uint32_t EndOfTrack(const CdDeviceRecord& device, std::int32_t track) {
    const std::int32_t frames = PlayableFrames(device, track);
    return PackTmsf(track, frames / FramesPerMinute, frames / FramesPerSecond % 60, frames % FramesPerSecond);
}

// The end of this track, or of the run of audio tracks it begins: play to the "end of
// the disc" stops before a data track, and the status tick moves on past it.
std::int32_t LastTrackPlayed(const CdDeviceRecord& device, std::int32_t track, std::int32_t toTrackEnd) {
    std::int32_t last = track;
    if (!toTrackEnd)
        while (IsAudio(device, last + 1)) ++last;
    return last;
}

std::uint32_t PlayEnd(const CdDeviceRecord& device, std::int32_t track, std::int32_t toTrackEnd) {
    return EndOfTrack(device, LastTrackPlayed(device, track, toTrackEnd));
}

// The same end as an absolute frame, for the digital player.
std::int32_t PlayEndFrame(const CdDeviceRecord& device, std::int32_t track, std::int32_t toTrackEnd) {
    const std::int32_t last = LastTrackPlayed(device, track, toTrackEnd);
    return TrackStartFrames(device.toc[last - 1]) + PlayableFrames(device, last);
}

// An absolute frame as the TMSF position the CD audio device reports: the track it
// lies in and the time from that track's start.
void TmsfOfFrame(const CdDeviceRecord& device, std::int32_t frame, std::int32_t* track, std::int32_t* minute,
                 std::int32_t* second, std::int32_t* frames) {
    std::int32_t in = 1;
    while (in < device.trackCount && TrackStartFrames(device.toc[in]) <= frame) ++in;
    const std::int32_t into = std::max(frame - TrackStartFrames(device.toc[in - 1]), 0);
    *track = in;
    *minute = into / FramesPerMinute;
    *second = into / FramesPerSecond % 60;
    *frames = into % FramesPerSecond;
}

// What the digital player answers for a command the drive would refuse: the CD audio
// device's own error, logged with the device's text.
PlayState DigitalRefusal(const char* literal, std::uint32_t code) {
    LogMciError(literal, code);
    return Failed;
}

} // namespace

std::int32_t PlayableLengthFrames(std::int32_t track) {
    const CdDeviceRecord& device = CdDevice();
    return IsTrackNumber(device, track) ? PlayableFrames(device, track) : 0;
}

PlayState PlayFrom(PlayRequest request) {
    const CdDeviceRecord& device = CdDevice();
    if (!IsTrackNumber(device, request.track) || device.toc[request.track - 1].type != TrackAudio) return Failed;

    LogMessageInt("Starting play on track: ", request.track);
    if (device.digital) {
        const std::int32_t from = TrackStartFrames(device.toc[request.track - 1]) +
                                  MsfToFrames(request.minute, request.second, request.frame);
        const std::int32_t to = PlayEndFrame(device, request.track, request.toTrackEnd);
        // As the drive: a start past the end of the range is out of range.
        if (from < TrackStartFrames(device.toc[0]) || from > to)
            return DigitalRefusal("MCI Error starting play: \r\n  ", mci::ErrOutOfRange);
        device.digital->Play(true, from, to);
        return Playing;
    }
    const std::uint32_t from = PackTmsf(request.track, request.minute, request.second, request.frame);
    const std::uint32_t to = PlayEnd(device, request.track, request.toTrackEnd);
    const std::uint32_t error = CdAudio().Play(device.deviceId, true, from, to);
    if (error != 0) {
        LogMciError("MCI Error starting play: \r\n  ", error);
        return Failed;
    }
    return Playing;
}

PlayState ResumePlay(std::int32_t track, std::int32_t toTrackEnd) {
    const CdDeviceRecord& device = CdDevice();
    if (!IsTrackNumber(device, track)) {
        LogMessageInt("Illegal track number to resume: ", track);
        return Failed;
    }
    if (device.toc[track - 1].type != TrackAudio) {
        LogMessageInt("Track number not audio type: ", track);
        return Failed;
    }
    LogMessageInt("Resuming play on track: ", track);
    if (device.digital) {
        device.digital->Play(false, 0, PlayEndFrame(device, track, toTrackEnd));
        return Playing;
    }
    // No start: play continues from wherever the drive is.
    const std::uint32_t error = CdAudio().Play(device.deviceId, false, 0, PlayEnd(device, track, toTrackEnd));
    if (error != 0) {
        LogMciError("MCI Error resuming play: \r\n  ", error);
        return Failed;
    }
    return Playing;
}

PlayState PauseCd() {
    LogMessage("Pausing CD player.");
    if (const auto& digital = CdDevice().digital) {
        // A drive pauses only audio that is under way.
        if (digital->CurrentMode() == DigitalPlayer::Mode::Stopped)
            return DigitalRefusal("MCI Error pausing CD: \r\n  ", mci::ErrHardware);
        digital->Pause();
        return Paused;
    }
    const std::uint32_t error = CdAudio().Pause(CdDevice().deviceId);
    if (error != 0) {
        LogMciError("MCI Error pausing CD: \r\n  ", error);
        return Failed;
    }
    return Paused;
}

PlayState StopPlay() {
    LogMessage("Stopping play.");
    if (CdDevice().digital) {
        CdDevice().digital->Stop();
        return Stopped;
    }
    const std::uint32_t error = CdAudio().Stop(CdDevice().deviceId);
    if (error != 0) {
        LogMciError("MCI Error stopping play: \r\n  ", error);
        return Failed;
    }
    return Stopped;
}

int GetPlayPosition(std::int32_t* track, std::int32_t* minute, std::int32_t* second, std::int32_t* frame) {
    const CdDeviceRecord& device = CdDevice();
    if (device.digital) {
        TmsfOfFrame(device, device.digital->PositionFrame(), track, minute, second, frame);
        return 1;
    }
    std::uint32_t position = 0;
    const std::uint32_t error = CdAudio().Status(CdDevice().deviceId, mci::StatusPosition, 0, &position);
    if (error != 0) {
        LogMciError("MCI Error getting track time information: \r\n  ", error);
        return 0;
    }
    *track = static_cast<std::int32_t>(position & 0xFF);
    *minute = static_cast<std::int32_t>((position >> 8) & 0xFF);
    *second = static_cast<std::int32_t>((position >> 16) & 0xFF);
    *frame = static_cast<std::int32_t>((position >> 24) & 0xFF);
    return 1;
}

PlayState GetDeviceMode() {
    std::uint32_t mode = 0;
    const std::uint32_t error = CdAudio().Status(CdDevice().deviceId, mci::StatusMode, 0, &mode);
    if (error != 0) {
        LogMciError("MCI Error getting CD player status: \r\n  ", error);
        return Failed;
    }
    // Playing digitally, the drive still says whether it has a disc; what plays is the
    // player's.
    const auto& digital = CdDevice().digital;
    if (digital && (mode == mci::ModeStop || mode == mci::ModePlay || mode == mci::ModePause || mode == mci::ModeSeek)) {
        switch (digital->CurrentMode()) {
        case DigitalPlayer::Mode::Playing: return Playing;
        case DigitalPlayer::Mode::Paused: return Paused;
        case DigitalPlayer::Mode::Seeking: return Seeking;
        default: return Stopped;
        }
    }
    switch (mode) {
    case mci::ModeNotReady: return NotReady;
    case mci::ModeStop: return Stopped;
    case mci::ModePlay: return Playing;
    case mci::ModeRecord: return Recording;
    case mci::ModeSeek: return Seeking;
    case mci::ModePause: return Paused;
    case mci::ModeOpen: return NoDisc;
    default: return Failed;
    }
}

int EjectCd() {
    LogMessage("Ejecting CD.");
    if (CdDevice().digital) CdDevice().digital->Stop();
    const std::uint32_t error = CdAudio().SetDoorOpen(CdDevice().deviceId);
    if (error != 0) {
        LogMciError("MCI Error ejecting CD: \r\n  ", error);
        return 0;
    }
    return 1;
}
