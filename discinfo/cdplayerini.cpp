#include "discinfo/cdplayerini.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/tracklist.h"
#include "platform/profilefile.h"

namespace {

const char* const CdplayerIniName = "Cdplayer.ini";
// The most characters of one text the file gives.
constexpr std::size_t IniTextLimit = 255;
// The profile functions never return more than this much of one value; it bounds the
// read of an "order" however large "numplay" claims to be.
constexpr std::uint64_t IniOrderReadLimit = 65535;

std::string ReadIniText(const std::string& section, const char* key, const char* defaultText) {
    return ProfileFile().GetString(section.c_str(), key, defaultText, IniTextLimit, CdplayerIniName);
}

// The file counts tracks from 0; the program from 1.
std::vector<std::int32_t> ReadOrder(const std::string& section, std::int32_t trackCount) {
    const std::int32_t numplay = ParseLeadingInteger(ReadIniText(section, "numplay", "0").c_str());
    if (numplay <= 0) return {};
    // At most two digits and a blank per entry, less the terminator of a buffer.
    const std::uint64_t wanted = static_cast<std::uint64_t>(numplay) * 3u + 1u;
    const std::string order = ProfileFile().GetString(section.c_str(), "order", "",
                                                      static_cast<std::size_t>(std::min(wanted, IniOrderReadLimit)),
                                                      CdplayerIniName);
    if (order.empty()) return {};
    std::vector<std::int32_t> numbers = ParseTrackList(order.c_str(), numplay);
    for (std::int32_t& number : numbers) number = static_cast<std::int32_t>(static_cast<std::uint32_t>(number) + 1u);
    return StoredProgram(numbers, trackCount);
}

} // namespace

int ImportCdplayerIni() {
    DiscInfoRecord& disc = DiscInfo();
    const std::string section = IdentityKey();
    LogMessage("Checking cdplayer.ini for current CD: ", section.c_str());
    int found = 0;

    if (disc.artist.empty()) {
        const std::string artist = ReadIniText(section, "artist", "");
        if (!artist.empty() && artist != "New Artist") {
            disc.artist = CutDiscText(artist);
            found = 1;
        }
    }
    if (disc.title.empty()) {
        const std::string title = ReadIniText(section, "title", "");
        if (!title.empty() && title != "New Title") {
            disc.title = CutDiscText(title);
            found = 1;
        }
    }
    for (std::size_t i = 0; i < disc.trackTitles.size(); ++i) {
        if (disc.trackTitles[i]) continue;
        const std::string title = ReadIniText(section, std::to_string(i).c_str(), "");
        if (!title.empty()) {
            disc.trackTitles[i] = CutDiscText(title);
            found = 1;
        }
    }
    if (disc.program.empty()) disc.program = ReadOrder(section, static_cast<std::int32_t>(disc.trackTitles.size()));

    if (found) LogMessage("Found current CD in cdplayer.ini: ", section.c_str());
    else LogMessage("Current CD not found in cdplayer.ini: ", section.c_str());
    return found;
}
