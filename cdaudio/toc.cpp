#include "cdaudio/toc.h"

#include <cstdio>

#include "cdaudio/cddevice.h"

std::int32_t MsfToFrames(std::int32_t minutes, std::int32_t seconds, std::int32_t frames) {
    return (minutes * 60 + seconds) * FramesPerSecond + frames;
}

std::int32_t TrackStartFrames(const TrackToc& track) {
    return MsfToFrames(track.startMinute, track.startSecond, track.startFrame);
}

std::int32_t TrackLengthFrames(const TrackToc& track) {
    return MsfToFrames(track.lengthMinutes, track.lengthSeconds, track.lengthFrames);
}

void PlaceLeadOut(TrackToc* toc, std::int32_t trackCount) {
    const TrackToc& last = toc[trackCount - 1];
    // The device reports the last track one frame short, so the frame just past it is
    // start + length + 1.
    const std::uint32_t total = static_cast<std::uint32_t>(
        ((last.startMinute + last.lengthMinutes) * 60 + last.startSecond + last.lengthSeconds) * FramesPerSecond +
        last.startFrame + last.lengthFrames + 1);
    TrackToc& leadOut = toc[trackCount];
    leadOut = TrackToc{};
    leadOut.startMinute = static_cast<std::int32_t>(total / FramesPerMinute);
    leadOut.startSecond = static_cast<std::int32_t>((total / FramesPerSecond) % 60);
    leadOut.startFrame = static_cast<std::int32_t>(total % FramesPerSecond);
}

std::string IdentityKey(std::int32_t mediaIdentity) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(mediaIdentity)));
    return text;
}

std::uint32_t CddbDigitSum(std::uint32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%lu", static_cast<unsigned long>(value));
    std::uint32_t sum = 0;
    for (const char* p = digits; *p; ++p) sum += static_cast<std::uint32_t>(*p - '0');
    return sum;
}

std::uint32_t ComputeDiscIdOf(const TrackToc* toc, std::int32_t trackCount) {
    if (!toc || trackCount <= 0) return 0;
    std::uint32_t n = 0;
    std::uint32_t t = 0;
    for (std::int32_t i = 0; i < trackCount; ++i) {
        const TrackToc& track = toc[i];
        const TrackToc& next = toc[i + 1];
        n += CddbDigitSum(static_cast<std::uint32_t>(track.startMinute * 60 + track.startSecond));
        t += static_cast<std::uint32_t>((next.startMinute - track.startMinute) * 60 + next.startSecond -
                                        track.startSecond);
    }
    return ((n % 255) << 24) | (t << 8) | static_cast<std::uint32_t>(trackCount);
}

std::int32_t DiscLengthSecondsOf(const TrackToc* toc, std::int32_t trackCount) {
    if (!toc || trackCount <= 0) return 0;
    const TrackToc& leadOut = LeadOut(toc, trackCount);
    return leadOut.startMinute * 60 + leadOut.startSecond;
}

namespace {
// The table only counts once it holds the lead-out entry.
bool HoldsTable(const CdDeviceRecord& device) {
    return device.trackCount > 0 && device.toc.size() == static_cast<std::size_t>(device.trackCount) + 1;
}
} // namespace

std::uint32_t ComputeDiscId() {
    const CdDeviceRecord& device = CdDevice();
    return HoldsTable(device) ? ComputeDiscIdOf(device.toc.data(), device.trackCount) : 0;
}

std::int32_t DiscLengthSeconds() {
    const CdDeviceRecord& device = CdDevice();
    return HoldsTable(device) ? DiscLengthSecondsOf(device.toc.data(), device.trackCount) : 0;
}

std::string IdentityKey() { return IdentityKey(CdDevice().mediaIdentity); }
