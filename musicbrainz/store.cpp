#include "musicbrainz/store.h"

#include "discinfo/discinfo.h"

void StoreMusicBrainzRelease(const MusicBrainzRelease& release) {
    DiscInfoHold hold;
    DiscInfoRecord& disc = DiscInfo();
    disc.artist = CutDiscText(release.artist);
    disc.title = CutDiscText(release.title);
    for (std::size_t i = 0; i < disc.trackTitles.size(); ++i) {
        if (i < release.trackTitles.size()) disc.trackTitles[i] = CutDiscText(release.trackTitles[i]);
        else disc.trackTitles[i].reset();
    }
}
