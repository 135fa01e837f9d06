// A disc in the device record, laid out as a drive's table of contents leaves it: the
// tracks in order, then the lead-out. Shared by the tests and the fuzz targets.
#pragma once

#include <cstdint>
#include <vector>

#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"

inline TrackToc AudioEntryAt(std::int32_t number, std::int32_t frames) {
    TrackToc entry{};
    entry.type = TrackAudio;
    entry.number = number;
    entry.startMinute = frames / FramesPerMinute;
    entry.startSecond = (frames / FramesPerSecond) % 60;
    entry.startFrame = frames % FramesPerSecond;
    return entry;
}

// Puts a disc of the given absolute track starts (frames) and lead-out into CdDevice.
inline void InsertDisc(const std::vector<std::int32_t>& startFrames, std::int32_t leadOutFrames,
                       std::int32_t identity) {
    CdDeviceRecord& device = CdDevice();
    device.trackCount = static_cast<std::int32_t>(startFrames.size());
    device.toc.clear();
    for (std::size_t i = 0; i < startFrames.size(); ++i)
        device.toc.push_back(AudioEntryAt(static_cast<std::int32_t>(i + 1), startFrames[i]));
    device.toc.push_back(AudioEntryAt(0, leadOutFrames));
    device.mediaIdentity = identity;
}

// The one-track disc of 13500 frames whose disc id is 0200b201; identity 0x3A5B1C02.
inline void InsertOneTrackDisc() { InsertDisc({150}, 13500, 0x3A5B1C02); }

// A disc of trackCount tracks of about four minutes each; identity 0x3A5B1C02.
inline void InsertDiscOfTracks(int trackCount) {
    std::vector<std::int32_t> starts;
    for (int i = 0; i < trackCount; ++i) starts.push_back(150 + i * 18000);
    InsertDisc(starts, 150 + trackCount * 18000, 0x3A5B1C02);
}
