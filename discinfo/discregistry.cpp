#include "discinfo/discregistry.h"

#include <cstdio>
#include <vector>

#include "app/log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/registryvalues.h"
#include "discinfo/tracklist.h"

const char* const DiscKeyTable[DiscKeyCount] = {
    "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information",
    "SOFTWARE\\Kestrow Software\\Tunova\\2.10\\CD Information",
    "SOFTWARE\\Kestrow Software\\Tunova\\2.00\\CD Information",
};

namespace {

std::string TrackValueName(std::size_t trackNumber) {
    char name[32];
    std::snprintf(name, sizeof name, "Track #%d", static_cast<int>(trackNumber));
    return name;
}

// "Program" holds at most two digits and a blank per entry, plus the terminator.
std::size_t ProgramTextLimit(std::int32_t programCount) {
    return static_cast<std::size_t>(programCount) * 3u + 2u;
}

std::vector<std::int32_t> ReadStoredProgram(RegistryKey key, std::int32_t trackCount) {
    std::int32_t programCount = 0;
    if (!ReadRegistryDword(key, "ProgramCount", &programCount) || programCount <= 0) return {};
    std::string text;
    if (!ReadRegistryString(key, "Program", ProgramTextLimit(programCount), &text)) return {};
    return StoredProgram(ParseTrackList(text.c_str(), programCount), trackCount);
}

std::string FormatProgram(const std::vector<std::int32_t>& program) {
    std::string text;
    for (std::int32_t track : program) {
        if (!text.empty()) text += ' ';
        text += std::to_string(track);
    }
    return text;
}

bool HasAnyTrackTitle(const DiscInfoRecord& disc) {
    for (const auto& title : disc.trackTitles)
        if (title) return true;
    return false;
}

// Writes every value of the record into the open disc key.
void WriteRecord(RegistryKey key, const DiscInfoRecord& disc) {
    if (disc.artist[0]) WriteRegistryText(key, "Artist", disc.artist);
    else Registry().DeleteValue(key, "Artist");
    if (disc.title[0]) WriteRegistryText(key, "Title", disc.title);
    else Registry().DeleteValue(key, "Title");

    WriteRegistryText(key, "cddbID", FormatCddbQueryArguments().c_str());

    for (std::size_t i = 0; i < disc.trackTitles.size(); ++i) {
        const std::string name = TrackValueName(i + 1);
        if (disc.trackTitles[i]) WriteRegistryText(key, name.c_str(), disc.trackTitles[i]->c_str());
        else Registry().DeleteValue(key, name.c_str());
    }

    if (!disc.program.empty()) {
        WriteRegistryText(key, "Program", FormatProgram(disc.program).c_str());
        WriteRegistryDword(key, "ProgramCount", disc.programCount());
    } else {
        Registry().DeleteValue(key, "Program");
        Registry().DeleteValue(key, "ProgramCount");
    }
    WriteResumePoint(key, disc.resumePoint);
}

} // namespace

std::string FormatCddbQueryArguments() {
    const CdDeviceRecord& device = CdDevice();
    char number[32];
    std::snprintf(number, sizeof number, "%08x %d", static_cast<unsigned>(ComputeDiscId()),
                  static_cast<int>(device.trackCount));
    std::string text = number;
    for (std::int32_t i = 0; i < device.trackCount && static_cast<std::size_t>(i) < device.toc.size(); ++i) {
        std::snprintf(number, sizeof number, " %d", static_cast<int>(TrackStartFrames(device.toc[i])));
        text += number;
    }
    std::snprintf(number, sizeof number, " %d", static_cast<int>(DiscLengthSeconds()));
    return text + number;
}

int LoadDiscFromRegistry() {
    DiscInfoRecord& disc = DiscInfo();
    const std::string identity = IdentityKey();
    LogMessage("Checking registry for current CD: ", identity.c_str());

    RegistryKeyHold key;
    bool found = false;
    for (int index = 0; index < DiscKeyCount && !found; ++index) {
        const std::string path = std::string(DiscKeyTable[index]) + "\\" + identity;
        LogMessage("Checking for CD under key: \r\n  HKEY_LOCAL_MACHINE\\", path.c_str());
        if (Registry().OpenKey(RegistryLocalMachine, path.c_str(), RegistryKeyRead, key.Out()) == RegistrySuccess) {
            disc.foundKeyIndex = index;
            found = true;
        }
    }
    if (!found) {
        LogMessage("Current CD not in registry: ", identity.c_str());
        return 0;
    }

    // An older version may have stored longer texts: they are cut to the field rather
    // than left unread, which would make the exit save delete them.
    ReadRegistryTextCut(key.Get(), "Artist", disc.artist, sizeof disc.artist);
    ReadRegistryTextCut(key.Get(), "Title", disc.title, sizeof disc.title);
    for (std::size_t i = 0; i < disc.trackTitles.size(); ++i) {
        char title[DiscTextSize];
        if (ReadRegistryTextCut(key.Get(), TrackValueName(i + 1).c_str(), title, sizeof title)) disc.trackTitles[i] = title;
    }
    disc.program = ReadStoredProgram(key.Get(), static_cast<std::int32_t>(disc.trackTitles.size()));
    ReadResumePoint(key.Get(), disc.resumePoint);

    key.Close();
    LogMessage("Current CD found in registry: ", identity.c_str());
    return 1;
}

void SaveDiscToRegistry() {
    LogMessage("Saving CD information to registry.");
    DiscInfoHold hold;
    const DiscInfoRecord& disc = DiscInfo();
    const std::string identity = IdentityKey();

    // The texts count even while a lookup runs: the lookup replaces them under this
    // lock in one step, so what is there is whole.
    const bool hasTexts = disc.artist[0] || disc.title[0] || HasAnyTrackTitle(disc);
    const bool somethingToStore = hasTexts || !disc.program.empty() || disc.resumePoint.Set();
    const int foundIndex = disc.foundKeyIndex >= 0 && disc.foundKeyIndex < DiscKeyCount ? disc.foundKeyIndex : 0;

    // The key the record was found under. An older version's key that cannot be opened
    // for writing only keeps its record from being moved: the session's texts are still
    // written under the current key, which every later start looks at first.
    RegistryKeyHold versionKey;
    const bool versionKeyOpen = Registry().OpenKey(RegistryLocalMachine, DiscKeyTable[foundIndex], RegistryKeyWrite,
                                                   versionKey.Out()) == RegistrySuccess;
    if (!versionKeyOpen && foundIndex == 0) return;

    if (!somethingToStore) {
        // A running lookup has not had its say yet: empty texts then do not mean the
        // user cleared a stored record, so it stays as it is.
        if (versionKeyOpen && !disc.lookupRunning) Registry().DeleteKey(versionKey.Get(), identity.c_str());
        return;
    }

    RegistryKeyHold currentVersionKey;
    if (Registry().OpenKey(RegistryLocalMachine, DiscKeyTable[0], RegistryKeyWrite, currentVersionKey.Out()) !=
        RegistrySuccess)
        return;
    RegistryKeyHold discKey;
    if (Registry().CreateKey(currentVersionKey.Get(), identity.c_str(), RegistryKeySetValue, discKey.Out()) !=
        RegistrySuccess)
        return;
    WriteRecord(discKey.Get(), disc);
    discKey.Close();

    // The record found under an older version's key goes only once it is safely under
    // the current one, so a failed write loses nothing.
    if (foundIndex > 0 && versionKeyOpen) Registry().DeleteKey(versionKey.Get(), identity.c_str());
}
