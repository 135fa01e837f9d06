#include "cdaudio/musicbrainzid.h"

#include <cstdio>

#include "cdaudio/cddevice.h"
#include "cdaudio/sha1.h"

namespace {

// A disc holds at most 99 tracks, and the hashed table always has 99 offset slots.
constexpr std::int32_t MaxTracks = 99;

// Base64 (RFC 4648) with '.', '_' and '-' in place of '+', '/' and '=', which would need
// escaping in a URL.
std::string MusicBrainzBase64(const Sha1Digest& digest) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._";
    std::string text;
    for (std::size_t i = 0; i < digest.size(); i += 3) {
        const std::size_t left = digest.size() - i;
        const std::uint32_t group = static_cast<std::uint32_t>(digest[i]) << 16 |
                                    (left > 1 ? static_cast<std::uint32_t>(digest[i + 1]) << 8 : 0) |
                                    (left > 2 ? digest[i + 2] : 0);
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += left > 1 ? alphabet[group >> 6 & 63] : '-';
        text += left > 2 ? alphabet[group & 63] : '-';
    }
    return text;
}

} // namespace

MusicBrainzToc MusicBrainzTocOf(const TrackToc* toc, std::int32_t trackCount) {
    MusicBrainzToc result;
    if (!toc || trackCount <= 0) return result;
    std::int32_t audioEnd = trackCount < MaxTracks ? trackCount : MaxTracks;
    std::int32_t leadOut = TrackStartFrames(LeadOut(toc, trackCount));
    // Data tracks after the audio tracks: an enhanced CD, whose audio ends at the first
    // session's lead-out. A data track at the start (a mixed-mode disc) counts as any.
    std::int32_t lastAudio = audioEnd;
    while (lastAudio > 0 && toc[lastAudio - 1].type != TrackAudio) --lastAudio;
    if (lastAudio > 0 && lastAudio < trackCount) {
        const std::int32_t dataStart = TrackStartFrames(toc[lastAudio]);
        const std::int32_t sessionEnd = dataStart - SessionGapFrames;
        // Without room for the gap the data track cannot lie in a session of its own:
        // the audio then ends where it begins.
        leadOut = sessionEnd > TrackStartFrames(toc[lastAudio - 1]) ? sessionEnd : dataStart;
        audioEnd = lastAudio;
    }
    result.lastTrack = audioEnd;
    result.leadOut = leadOut;
    for (std::int32_t i = 0; i < audioEnd; ++i) result.offsets.push_back(TrackStartFrames(toc[i]));
    return result;
}

std::string MusicBrainzTocText(const MusicBrainzToc& toc, char separator) {
    std::string text = std::to_string(toc.firstTrack) + separator + std::to_string(toc.lastTrack) + separator +
                       std::to_string(toc.leadOut);
    for (const std::int32_t offset : toc.offsets) text += separator + std::to_string(offset);
    return text;
}

std::string MusicBrainzDiscIdOf(const MusicBrainzToc& toc) {
    if (toc.lastTrack <= 0) return std::string();
    // 2 + 2 + 8 + 99 * 8 hexadecimal digits.
    char text[4 + 8 * (MaxTracks + 1) + 1];
    int used = std::snprintf(text, sizeof text, "%02X%02X%08X", static_cast<unsigned>(toc.firstTrack),
                             static_cast<unsigned>(toc.lastTrack), static_cast<unsigned>(toc.leadOut));
    for (std::int32_t slot = 0; slot < MaxTracks; ++slot) {
        const std::size_t index = static_cast<std::size_t>(slot);
        const std::int32_t offset = index < toc.offsets.size() ? toc.offsets[index] : 0;
        used += std::snprintf(text + used, sizeof text - static_cast<std::size_t>(used), "%08X",
                              static_cast<unsigned>(offset));
    }
    return MusicBrainzBase64(Sha1(text, static_cast<std::size_t>(used)));
}

MusicBrainzToc MusicBrainzTocOfDisc() {
    const CdDeviceRecord& device = CdDevice();
    if (device.trackCount <= 0 || device.toc.size() != static_cast<std::size_t>(device.trackCount) + 1) return {};
    return MusicBrainzTocOf(device.toc.data(), device.trackCount);
}

std::string MusicBrainzDiscId() { return MusicBrainzDiscIdOf(MusicBrainzTocOfDisc()); }
