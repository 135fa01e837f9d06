#include "discinfo/discregistry.h"

#include <cstdio>
#include <vector>

#include "log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/registryplace.h"
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
    if (!disc.artist.empty()) WriteRegistryText(key, "Artist", disc.artist.c_str());
    else Registry().DeleteValue(key, "Artist");
    if (!disc.title.empty()) WriteRegistryText(key, "Title", disc.title.c_str());
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

    // Newest version first; within a version the user's own record before the machine's.
    RegistryKeyHold key;
    bool found = false;
    for (int index = 0; index < DiscKeyCount && !found; ++index) {
        const std::string path = std::string(DiscKeyTable[index]) + "\\" + identity;
        for (RegistryKey root : RegistryReadOrder) {
            const std::string text = std::string("Checking for CD under key: \r\n  ") + RegistryRootName(root) + "\\";
            LogMessage(text.c_str(), path.c_str());
            if (Registry().OpenKey(root, path.c_str(), RegistryKeyRead, key.Out()) == RegistrySuccess) {
                disc.foundKeyIndex = index;
                disc.foundKeyRoot = root;
                found = true;
                break;
            }
        }
    }
    if (!found) {
        LogMessage("Current CD not in registry: ", identity.c_str());
        return 0;
    }

    // An older version may have stored longer texts: they are cut to the field rather
    // than left unread, which would make the exit save delete them.
    ReadRegistryTextCut(key.Get(), "Artist", DiscTextLimit, &disc.artist);
    ReadRegistryTextCut(key.Get(), "Title", DiscTextLimit, &disc.title);
    for (std::size_t i = 0; i < disc.trackTitles.size(); ++i) {
        std::string title;
        if (ReadRegistryTextCut(key.Get(), TrackValueName(i + 1).c_str(), DiscTextLimit, &title))
            disc.trackTitles[i] = title;
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
    const bool hasTexts = !disc.artist.empty() || !disc.title.empty() || HasAnyTrackTitle(disc);
    const bool somethingToStore = hasTexts || !disc.program.empty() || disc.resumePoint.Set();
    const int foundIndex = disc.foundKeyIndex >= 0 && disc.foundKeyIndex < DiscKeyCount ? disc.foundKeyIndex : 0;
    const RegistryKey foundRoot =
        disc.foundKeyRoot == RegistryCurrentUser ? RegistryCurrentUser : RegistryLocalMachine;

    // The key the record was found under. One that cannot be opened for writing (an
    // older version's, or the machine's for a user without the right) only keeps its
    // record from being moved or deleted: the session's texts are still written where
    // this user's saves go, which every later start looks at first.
    RegistryKeyHold versionKey;
    const bool versionKeyOpen = Registry().OpenKey(foundRoot, DiscKeyTable[foundIndex], RegistryKeyWrite,
                                                   versionKey.Out()) == RegistrySuccess;

    if (!somethingToStore) {
        // A running lookup has not had its say yet: empty texts then do not mean the
        // user cleared a stored record, so it stays as it is.
        if (versionKeyOpen && !disc.lookupRunning) Registry().DeleteKey(versionKey.Get(), identity.c_str());
        return;
    }

    RegistryKeyHold currentVersionKey;
    const RegistryKey root = OpenKeyForSaving(DiscKeyTable[0], &currentVersionKey);
    if (!root) return;
    RegistryKeyHold discKey;
    if (Registry().CreateKey(currentVersionKey.Get(), identity.c_str(), RegistryKeySetValue, discKey.Out()) !=
        RegistrySuccess)
        return;
    WriteRecord(discKey.Get(), disc);
    discKey.Close();
    LogMessage("Saved CD information under: ",
               RegistryPlace(root, std::string(DiscKeyTable[0]) + "\\" + identity).c_str());

    // The record found under an older version's key goes only once it is safely under
    // the current one, so a failed write loses nothing. A record under the current key
    // of the other root stays: the machine's may be another user's too.
    if (foundIndex > 0 && versionKeyOpen) Registry().DeleteKey(versionKey.Get(), identity.c_str());
}
