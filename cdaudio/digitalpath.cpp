// The choice between the two ways a disc plays: the drive's own output, as the CD audio
// device plays it, or digitally, its sectors read and sent to the sound card.
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "digital/digitalplayer.h"
#include "log/logmessage.h"
#include "platform/rawcd.h"

namespace {

// The drive's own table against the one the CD audio device gave: the same tracks,
// kinds, starts and lead-out, or the sectors read would not be the ones played.
bool SameTable(const RawToc& raw, const CdDeviceRecord& device) {
    if (static_cast<std::int32_t>(raw.tracks.size()) != device.trackCount) return false;
    for (std::int32_t i = 0; i < device.trackCount; ++i) {
        const TrackToc& track = device.toc[static_cast<std::size_t>(i)];
        const bool data = (raw.tracks[static_cast<std::size_t>(i)].control & 0x04) != 0;
        if (raw.tracks[static_cast<std::size_t>(i)].startFrame != TrackStartFrames(track) ||
            data != (track.type != TrackAudio))
            return false;
    }
    return raw.leadOutFrame == TrackStartFrames(LeadOut(device.toc.data(), device.trackCount));
}

std::int32_t FirstAudioFrame(const CdDeviceRecord& device) {
    for (std::int32_t i = 0; i < device.trackCount; ++i)
        if (device.toc[static_cast<std::size_t>(i)].type == TrackAudio)
            return TrackStartFrames(device.toc[static_cast<std::size_t>(i)]);
    return RawLeadInFrames;
}

// Empty when the drive reads the disc's audio; else why not.
std::string WhyNoRawAudio(const std::string& drive, const CdDeviceRecord& device) {
    std::uint32_t error = 0;
    std::unique_ptr<RawCdDrive> raw = OpenRawCd(drive, &error);
    if (!raw) return SystemErrorText(error);
    RawToc toc;
    if ((error = raw->ReadToc(&toc)) != 0) return SystemErrorText(error);
    if (!SameTable(toc, device)) return "its table of contents differs from the CD audio device's";
    std::vector<std::uint8_t> sector(RawSectorBytes);
    if ((error = raw->ReadAudio(FirstAudioFrame(device) - RawLeadInFrames, 1, sector.data())) != 0)
        return SystemErrorText(error);
    return std::string();
}

} // namespace

void ChoosePlaybackPath(const char* drive, bool digital, SoundOutputOpener openSound, MillisecondClock clock) {
    CdDeviceRecord& device = CdDevice();
    device.digital.reset();
    if (!digital || device.trackCount < 1) return;
    if (!clock) clock = SteadyMilliseconds();
    if (!openSound) openSound = [clock](std::string* problem) { return OpenSoundOutput(clock, problem); };

    const std::string why = WhyNoRawAudio(drive, device);
    if (!why.empty()) {
        const std::string text = std::string("Drive ") + drive + " cannot read audio, playing through its own output:";
        LogMessage(text.c_str(), why.c_str());
        return;
    }
    // Without a wave device there is nothing to play digitally through.
    std::string problem;
    if (!openSound(&problem)) {
        LogMessage("No audio output for digital playback, playing through the drive's own output:", problem.c_str());
        return;
    }
    device.digital = std::make_shared<DigitalPlayer>(drive, OpenRawCd, openSound, clock, FirstAudioFrame(device));
    LogMessage("Playing digitally from", drive);
}
