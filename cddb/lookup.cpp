#include "cddb/lookup.h"

#include <cstdint>
#include <cstdio>

#include "log/logmessage.h"
#include "cdaudio/toc.h"
#include "cddb/localdb.h"
#include "cddb/matchchoice.h"
#include "cddb/musicbrainzstep.h"
#include "discinfo/querystatus.h"
#include "cddb/server.h"
#include "cddb/xmcd.h"
#include "discinfo/discinfo.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"
#include "platform/sysnames.h"

namespace {

const char* const FoundOnServer = "Found current CD on remote server.";
const char* const NotFoundOnServer = "Current CD not found on remote server.";
const char* const NoTempFile = "Unable to create temporary file.";

// The server step's file: what the conversations write and the step reads back. It is
// closed and deleted when the step ends, whatever the outcome.
class LookupTempFile {
public:
    LookupTempFile() = default;
    LookupTempFile(const LookupTempFile&) = delete;
    LookupTempFile& operator=(const LookupTempFile&) = delete;
    ~LookupTempFile() {
        if (file_) std::fclose(file_);
        if (!path_.empty() && std::remove(path_.c_str()) != 0) {
            LogMessage("Unable to delete temporary file: ", path_.c_str());
        }
    }

    // Only a name GetTempFileNameA made is opened: without one (no TEMP directory) there
    // is no file to open, and the directory itself must never be.
    bool Open() {
        std::string windowsDirectory;
        if (!GetWindowsDirectoryPath(&windowsDirectory)) return false;
        if (!CreateUniqueTempFile(LookupTempDirectory(windowsDirectory).c_str(), "cdb", &path_)) {
            path_.clear();
            return false;
        }
        file_ = std::fopen(path_.c_str(), "w+");
        return file_ && std::fgetpos(file_, &start_) == 0;
    }

    std::FILE* File() const { return file_; }
    const std::fpos_t& Start() const { return start_; }
    // The file back at its start, for a read-back or the next conversation.
    std::FILE* Rewound() {
        std::fsetpos(file_, &start_);
        return file_;
    }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::fpos_t start_{};
};

void FetchChosenMatch(LookupTempFile& temp) {
    const ChosenMatch chosen = ChooseMatch(temp.File(), temp.Start());
    if (chosen.id == 0) {
        SetQueryStatus(NotFoundOnServer);
        return;
    }
    // The chosen entry is read directly by its category and id: a second query could
    // only offer the same list again when the id is filed in several categories. The
    // entry is stored for the disc in the drive.
    if (ReadServerEntry(chosen.category, chosen.id, temp.Rewound()) != CddbExactMatch) return;
    SetQueryStatus(FoundOnServer);
    ReadXmcdEntry(chosen.id, temp.Rewound());
}

void AskServer(std::uint32_t discId) {
    LookupTempFile temp;
    if (!temp.Open()) {
        LogMessage(NoTempFile);
        SetQueryStatus(NoTempFile);
        return;
    }
    switch (QueryServer(discId, temp.File())) {
    case CddbNoMatch:
        SetQueryStatus(NotFoundOnServer);
        break;
    case CddbExactMatch:
        SetQueryStatus(FoundOnServer);
        ReadXmcdEntry(discId, temp.Rewound());
        break;
    case CddbInexactMatch:
        SetQueryStatus("Possible matches found on remote server.");
        FetchChosenMatch(temp);
        break;
    default:
        // The conversation has set the status text.
        break;
    }
}

} // namespace

std::string LookupTempDirectory(const std::string& windowsDirectory) {
    std::string directory = windowsDirectory;
    if (directory.empty() || directory.back() != PathSeparator) directory += PathSeparator;
    return directory + "TEMP";
}

void SearchCddbSources() {
    const std::uint32_t discId = ComputeDiscId();
    LogMessageHex("Checking cddb sources for id: ", discId);
    bool askLocal = false;
    bool askMusicBrainz = false;
    bool askServer = false;
    std::string musicBrainzServer;
    {
        DiscInfoHold hold; // the property sheet may be applying new settings
        const ProgramOptionsRecord& options = ProgramOptions();
        askLocal = options.cddbQueryLocal != 0;
        askMusicBrainz = options.MusicBrainzQuery != 0;
        askServer = options.cddbQueryServerAtStartup != 0;
        musicBrainzServer = options.MusicBrainzServer;
    }
    if (!askLocal && !askMusicBrainz && !askServer) {
        SetQueryStatus("No cddb sources configured for querying.");
        return;
    }
    // The local copy costs nothing and asks no one; MusicBrainz knows far more discs
    // than the cddb server, so it is asked before it.
    if (askLocal && SearchLocalDatabase(discId)) return;
    if (askMusicBrainz && SearchMusicBrainz(musicBrainzServer)) return;
    if (askServer) AskServer(discId);
}

void InstallCddbLookup() {
    // The page notice belongs to the property sheet, which installs it itself.
    DiscLookupHooks hooks = GetDiscLookupHooks();
    hooks.search = SearchCddbSources;
    hooks.closeChoice = CloseMatchChoice;
    SetDiscLookupHooks(hooks);
}
