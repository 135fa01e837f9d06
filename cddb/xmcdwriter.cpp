#include "cddb/xmcdwriter.h"

#include <algorithm>
#include <cstdio>

#include "cdaudio/toc.h"
#include "cddb/lineio.h"
#include "platform/utf8text.h"

namespace {

const char* const HeaderFailure = "Error sending cddb file header data.";
const char* const DataFailure = "Error sending cddb file CD data.";
const char* const TrailerFailure = "Error sending cddb file CD trailer data.";

const char* const EntryStart =
    "# xmcd CD database file\r\n"
    "# The xmcd format and its database are the work of the xmcd author.\r\n"
    "#\r\n"
    "# Track frame offsets:\r\n";
const char* const EntryRevision =
    "#\r\n"
    "# Revision: 1\r\n"
    "# Submitted via: Tunova 2.21 - Kestrow Software\r\n"
    "#\r\n";

std::string Numbered(const char* format, long value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void AddKeyed(std::vector<XmcdSend>& sends, const std::string& key, const std::string& value, const char* failure) {
    for (std::string& line : KeyedLines(key, OneLineText(value))) sends.push_back({std::move(line), failure});
}

} // namespace

void SetXmcdTable(const TrackToc* toc, std::int32_t trackCount, XmcdDisc* disc) {
    disc->trackOffsets.clear();
    for (std::int32_t i = 0; i < trackCount; ++i) disc->trackOffsets.push_back(TrackStartFrames(toc[i]));
    disc->discSeconds = DiscLengthSecondsOf(toc, trackCount);
}

std::string OneLineText(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

std::string DiscTitleValue(const std::string& artist, const std::string& title) {
    return artist.empty() ? title : artist + " / " + title;
}

std::vector<std::string> KeyedLines(const std::string& key, const std::string& value) {
    const std::size_t limit = static_cast<std::size_t>(KeyedLineLimit);
    const std::size_t room = key.size() < limit ? limit - key.size() : 1;
    std::vector<std::string> lines;
    std::size_t at = 0;
    do {
        const std::string rest = value.substr(at);
        // At least one letter a line, however long the key.
        std::size_t take = Utf8CutBytes(rest, room);
        if (take == 0 && !rest.empty()) take = std::max<std::size_t>(Utf8SequenceLength(rest, 0), 1);
        lines.push_back(key + rest.substr(0, take) + "\r\n");
        at += take;
    } while (at < value.size());
    return lines;
}

std::vector<XmcdSend> XmcdBodySends(const XmcdDisc& disc) {
    std::vector<XmcdSend> sends;
    sends.push_back({EntryStart, HeaderFailure});
    for (const std::int32_t offset : disc.trackOffsets) sends.push_back({Numbered("#\t%ld\r\n", offset), HeaderFailure});
    sends.push_back({Numbered("#\r\n# Disc length: %ld seconds\r\n", disc.discSeconds), HeaderFailure});
    sends.push_back({EntryRevision, HeaderFailure});

    char id[16];
    std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(disc.discId));
    sends.push_back({std::string("DISCID=") + id + "\r\n", DataFailure});
    AddKeyed(sends, "DTITLE=", DiscTitleValue(disc.artist, disc.title), DataFailure);
    const std::size_t tracks = disc.trackOffsets.size();
    for (std::size_t i = 0; i < tracks; ++i) {
        const std::string title = i < disc.trackTitles.size() ? disc.trackTitles[i] : std::string();
        AddKeyed(sends, Numbered("TTITLE%ld=", static_cast<long>(i)), title, DataFailure);
    }

    sends.push_back({"EXTD=\r\n", TrailerFailure});
    for (std::size_t i = 0; i < tracks; ++i) {
        sends.push_back({Numbered("EXTT%ld=\r\n", static_cast<long>(i)), TrailerFailure});
    }
    sends.push_back({"PLAYORDER=\r\n", TrailerFailure});
    return sends;
}

std::string XmcdEntryText(const XmcdDisc& disc) {
    std::string text;
    for (const XmcdSend& send : XmcdBodySends(disc)) text += send.text;
    return text;
}
