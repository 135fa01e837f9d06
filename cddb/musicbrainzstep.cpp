#include "cddb/musicbrainzstep.h"

#include <vector>

#include "log/logmessage.h"
#include "cdaudio/musicbrainzid.h"
#include "cddb/matchchoice.h"
#include "discinfo/querystatus.h"
#include "musicbrainz/client.h"
#include "musicbrainz/store.h"

namespace {

const char* const NotFound = "Current CD not found at MusicBrainz.";

void Report(const char* text) {
    LogMessage(text);
    SetQueryStatus(text);
}

// The release to store: the only one filed with the disc id (or its only stub) at once;
// among several, or any close match, the user's choice. Null for none.
const MusicBrainzRelease* TakeRelease(const MusicBrainzAnswer& answer) {
    if (answer.kind != MusicBrainzAnswerKind::TocMatches && answer.releases.size() == 1) return &answer.releases[0];
    Report("Possible matches found at MusicBrainz.");
    std::vector<std::string> titles;
    for (const MusicBrainzRelease& release : answer.releases) titles.push_back(ReleaseChoiceText(release));
    const int chosen = ChooseAmong(titles);
    return chosen < 0 ? nullptr : &answer.releases[static_cast<std::size_t>(chosen)];
}

} // namespace

bool SearchMusicBrainz(const std::string& server) {
    const MusicBrainzToc toc = MusicBrainzTocOfDisc();
    const std::string discId = MusicBrainzDiscIdOf(toc);
    if (discId.empty()) return false;
    MusicBrainzAnswer answer;
    switch (AskMusicBrainz(server, discId, toc, &answer)) {
    case MusicBrainzResult::NotFound:
        Report(NotFound);
        return false;
    case MusicBrainzResult::Failed:
        return false;
    case MusicBrainzResult::Found:
        break;
    }
    const MusicBrainzRelease* release = TakeRelease(answer);
    if (!release) {
        Report(NotFound);
        return false;
    }
    StoreMusicBrainzRelease(*release);
    Report("Found current CD at MusicBrainz.");
    return true;
}
