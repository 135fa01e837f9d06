#include "ui/properties/trackitems.h"

#include <cstdio>

#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"

std::string FormatTrackItem(int track, const TrackToc& entry, const std::string& title) {
    char head[48];
    std::snprintf(head, sizeof head, "%d) %d:%02d - ", track, static_cast<int>(entry.lengthMinutes),
                  static_cast<int>(entry.lengthSeconds));
    return head + title;
}

std::string CopyTrackTitle(const PropertiesCopy& copy, int track) {
    if (track < 1 || static_cast<std::size_t>(track) > copy.trackTitles.size()) return "";
    return copy.trackTitles[static_cast<std::size_t>(track) - 1];
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
