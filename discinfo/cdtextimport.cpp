#include "discinfo/cdtextimport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "discinfo/cdtext.h"
#include "discinfo/discinfo.h"
#include "log/logmessage.h"
#include "platform/rawcd.h"

namespace {

// The drive's CD-Text answer; false (logged) when it cannot be read. The drive is let go
// at once: the digital player opens it again when it plays.
bool ReadDriveCdText(const std::string& drive, std::vector<std::uint8_t>* reply) {
    std::uint32_t error = 0;
    if (std::unique_ptr<RawCdDrive> raw = OpenRawCd(drive, &error)) error = raw->ReadCdText(reply);
    if (error == 0) return true;
    LogMessage("Unable to read CD-Text: ", SystemErrorText(error).c_str());
    return false;
}

// A compilation's track names its own performer, as cddb entries do.
std::optional<std::string> TrackTitle(const CdTextTitles& text, std::size_t track) {
    const std::optional<std::string>& title = text.titles[track];
    const std::optional<std::string>& performer = text.performers[track];
    if (!title) return std::nullopt;
    if (!performer || performer == text.performers[0]) return title;
    return *performer + " / " + *title;
}

bool EveryAudioTrackTitled(const DiscInfoRecord& disc) {
    const CdDeviceRecord& device = CdDevice();
    for (std::size_t i = 0; i < disc.trackTitles.size() && i < device.toc.size(); ++i)
        if (device.toc[i].type == TrackAudio && !disc.trackTitles[i]) return false;
    return true;
}

} // namespace

int ImportCdText() {
    DiscInfoRecord& disc = DiscInfo();
    const std::string drive = CdDevice().drive;
    LogMessage("Checking CD-Text of current CD in drive: ", drive.c_str());
    std::vector<std::uint8_t> reply;
    if (!ReadDriveCdText(drive, &reply)) return 0;
    const CdTextTitles text = DecodeCdText(reply);
    if (text.brokenPacks > 0) LogMessageInt("CD-Text packs failing their check, ignored: ", text.brokenPacks);
    if (text.unreadCode >= 0)
        LogMessageHex("CD-Text in a character code not read: ", static_cast<unsigned>(text.unreadCode));

    bool found = false;
    auto take = [&found](std::string& field, const std::optional<std::string>& value) {
        if (!field.empty() || !value) return;
        field = CutDiscText(*value);
        found = true;
    };
    take(disc.artist, text.performers[0]);
    take(disc.title, text.titles[0]);
    for (std::size_t i = 0; i < disc.trackTitles.size() && i + 1 < CdTextTrackSlots; ++i) {
        if (disc.trackTitles[i]) continue;
        const std::optional<std::string> title = TrackTitle(text, i + 1);
        if (!title) continue;
        disc.trackTitles[i] = CutDiscText(*title);
        found = true;
    }
    if (!found) {
        LogMessage("No CD-Text on the disc.");
        return 0;
    }
    LogMessage("Found CD-Text on the disc.");
    return EveryAudioTrackTitled(disc) ? 1 : 0;
}
