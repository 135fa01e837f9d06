// MusicBrainz disc lookup replies (JSON from the network) into releases and their
// choice texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cdaudio/musicbrainzid.h"
#include "musicbrainz/reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the disc's track count (1 to 99), so that media of that many
    // tracks match it; the disc id is the documented example's, which the dictionary
    // offers, so that media filed with it are found as well.
    MusicBrainzToc toc;
    toc.lastTrack = data[0] % 99 + 1;
    for (std::int32_t i = 0; i < toc.lastTrack; ++i) toc.offsets.push_back(150 + i * 18000);
    toc.leadOut = 150 + toc.lastTrack * 18000;
    const std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
    MusicBrainzAnswer answer;
    if (ReadMusicBrainzReply(body, "I5l9cCSFccLKFEKS.7wqSZAorPU-", toc, &answer) == MusicBrainzReading::Read) {
        for (const MusicBrainzRelease& release : answer.releases) ReleaseChoiceText(release);
    }
    return 0;
}
