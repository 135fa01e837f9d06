#include "ui/properties/trackitems.h"

#include <cstdio>

#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"

std::string FormatTrackItem(int track, const TrackToc& entry, const char* title) {
    // A title holds at most 256 characters; the rest is far shorter.
    char text[DiscTextSize + 48];
    std::snprintf(text, sizeof text, "%d) %d:%02d - %s", track, static_cast<int>(entry.lengthMinutes),
                  static_cast<int>(entry.lengthSeconds), title);
    return text;
}

const char* CopyTrackTitle(const PropertiesCopy& copy, int track) {
    if (track < 1 || static_cast<std::size_t>(track) > copy.trackTitles.size()) return "";
    return copy.trackTitles[track - 1].data();
}

std::string TrackItemText(const PropertiesCopy& copy, int track) {
    const CdDeviceRecord& device = CdDevice();
    // A program entry beyond the disc (an edited registry) still gets a line.
    const TrackToc none{};
    const TrackToc& entry = track >= 1 && track <= device.trackCount &&
                                    static_cast<std::size_t>(track) <= device.toc.size()
                                ? device.toc[track - 1]
                                : none;
    return FormatTrackItem(track, entry, CopyTrackTitle(copy, track));
}

std::vector<std::string> DiscTrackItems(const PropertiesCopy& copy) {
    std::vector<std::string> items;
    for (int track = 1; track <= CdDevice().trackCount; ++track) items.push_back(TrackItemText(copy, track));
    return items;
}
