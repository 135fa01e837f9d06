#include <cstdio>

#include "log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "cdaudio/musicbrainzid.h"
#include "platform/cdaudiodriver.h"

namespace {

// Leading blanks, an optional sign, decimal digits up to the first other character,
// wrapping around in 32 bits; no number gives 0.
std::int32_t ParseMediaIdentity(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<std::uint32_t>(*text - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

void UnpackMsf(std::uint32_t msf, std::int32_t* minute, std::int32_t* second, std::int32_t* frame) {
    *minute = static_cast<std::int32_t>(msf & 0xFF);
    *second = static_cast<std::int32_t>((msf >> 8) & 0xFF);
    *frame = static_cast<std::int32_t>((msf >> 16) & 0xFF);
}

void LogTable(const CdDeviceRecord& device) {
    char text[96];
    for (std::int32_t k = 1; k <= device.trackCount; ++k) {
        const TrackToc& track = device.toc[k - 1];
        if (k < device.trackCount)
            std::snprintf(text, sizeof text, "%d Offset: %d - Length %d", k, TrackStartFrames(track),
                          TrackLengthFrames(track));
        else // the last track's true length: the device reports it one frame short
            std::snprintf(text, sizeof text, "%d Offset: %d - Length: %d", k, TrackStartFrames(track),
                          TrackLengthFrames(track) + 1);
        LogMessage("Track #", text);
    }
    const TrackToc& leadOut = LeadOut(device.toc.data(), device.trackCount);
    std::snprintf(text, sizeof text, "%dm %2ds %2df", leadOut.startMinute, leadOut.startSecond, leadOut.startFrame);
    LogMessage("Media Length: ", text);
    std::snprintf(text, sizeof text, "%d seconds", leadOut.startMinute * 60 + leadOut.startSecond);
    LogMessage("cddb Length: ", text);
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(ComputeDiscId()));
    LogMessage("Discid = ", text);
    LogMessage("MusicBrainz disc id: ", MusicBrainzDiscId().c_str());
}

} // namespace

std::uint32_t ReadTableOfContents(const char** errorLiteral) {
    CdDeviceRecord& device = CdDevice();
    CdAudioDriver& driver = CdAudio();

    char identity[29] = {};
    std::uint32_t error = driver.InfoMediaIdentity(device.deviceId, identity, sizeof identity);
    if (error != 0) {
        *errorLiteral = "MCI Error getting media identity: \r\n  ";
        return error;
    }
    identity[sizeof identity - 1] = '\0';
    device.mediaIdentity = ParseMediaIdentity(identity);
    LogMessage("Windows media identity: ", IdentityKey(device.mediaIdentity).c_str());

    error = driver.SetTimeFormat(device.deviceId, mci::FormatMsf);
    if (error != 0) {
        *errorLiteral = "MCI Error setting time format to MSF: \r\n  ";
        return error;
    }

    std::uint32_t count = 0;
    error = driver.Status(device.deviceId, mci::StatusNumberOfTracks, 0, &count);
    if (error != 0) {
        *errorLiteral = "MCI Error getting number of tracks: \r\n  ";
        return error;
    }
    device.toc.clear();
    device.trackCount = static_cast<std::int32_t>(count);
    LogMessageInt("Number of tracks on CD: ", device.trackCount);
    // Without a track there is nothing to place the lead-out after: the table stays
    // empty and the open reports a disc without audio tracks.
    if (device.trackCount <= 0) {
        device.trackCount = 0;
        return 0;
    }

    device.toc.assign(static_cast<std::size_t>(device.trackCount) + 1, TrackToc{});
    for (std::int32_t i = 1; i <= device.trackCount; ++i) {
        TrackToc& track = device.toc[i - 1];
        track.number = i;
        std::uint32_t answer = 0;
        error = driver.Status(device.deviceId, mci::CdaStatusTypeTrack, i, &answer);
        if (error != 0) {
            *errorLiteral = "MCI Error getting track type: \r\n  ";
            return error;
        }
        track.type = answer == mci::CdaTrackAudio ? TrackAudio : TrackOther;
        error = driver.Status(device.deviceId, mci::StatusPosition, i, &answer);
        if (error != 0) {
            *errorLiteral = "MCI Error getting track start position: \r\n  ";
            return error;
        }
        UnpackMsf(answer, &track.startMinute, &track.startSecond, &track.startFrame);
        error = driver.Status(device.deviceId, mci::StatusLength, i, &answer);
        if (error != 0) {
            *errorLiteral = "MCI Error getting track length: \r\n  ";
            return error;
        }
        UnpackMsf(answer, &track.lengthMinutes, &track.lengthSeconds, &track.lengthFrames);
    }
    PlaceLeadOut(device.toc.data(), device.trackCount);
    LogTable(device);
    return 0;
}
