#include "cddb/xmcd.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "cdaudio/cddevice.h"
#include "cddb/lineio.h"
#include "cddb/xmcdreader.h"
#include "discinfo/discinfo.h"
#include "platform/utf8text.h"

namespace {

// A disc title is split before it is cut, so it is kept longer than a stored text;
// the bound only guards against a file that repeats the keyword without end.
constexpr std::size_t DiscTitleBound = 64 * 1024;

bool StartsWith(const char* text, std::size_t length, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return length >= n && std::memcmp(text, prefix, n) == 0;
}

void AppendBounded(std::optional<std::string>& value, const char* text, std::size_t bound) {
    if (!value) value.emplace();
    const std::size_t room = value->size() < bound ? bound - value->size() : 0;
    value->append(text, std::min(std::strlen(text), room));
}

// The track index between "TTITLE" and "=": blanks skipped, an optional sign, digits up
// to the first other character, 0 without digits. Values too large to matter saturate.
long long TrackIndexOf(const char* text, const char* end) {
    while (text < end && (*text == ' ' || *text == '\t')) ++text;
    bool negative = false;
    if (text < end && (*text == '+' || *text == '-')) negative = *text++ == '-';
    long long value = 0;
    while (text < end && IsDigit(*text)) {
        if (value < INT_MAX) value = value * 10 + (*text - '0');
        ++text;
    }
    return negative ? -value : value;
}

std::string Cut(const std::string& text) { return CutDiscText(text); }

// A track title is gathered longer than it is stored, so that a UTF-8 title of 256
// letters of four bytes is whole before it is cut.
constexpr std::size_t TrackTitleBound = 4 * XmcdTextLimit;

// A text that filled its bound may end in half a letter; without it the text is
// judged and kept, so that the bound cannot turn a UTF-8 entry into a Latin-1 one.
void DropCutLetter(std::optional<std::string>& text, std::size_t bound) {
    if (text && text->size() >= bound) *text = WithoutCutLetter(*text);
}

// An entry is UTF-8 when every one of its texts is valid UTF-8; otherwise it is Latin-1
// and every text is converted. The rule holds for the whole entry, so that a Latin-1
// title whose bytes happen to form UTF-8 is read with the rest of its entry.
void ConvertToUtf8(XmcdEntry* entry) {
    DropCutLetter(entry->discTitle, DiscTitleBound);
    for (auto& track : entry->trackTitles) DropCutLetter(track, TrackTitleBound);
    bool utf8 = !entry->discTitle || IsValidUtf8(*entry->discTitle);
    for (const auto& track : entry->trackTitles) utf8 = utf8 && (!track || IsValidUtf8(*track));
    if (utf8) return;
    if (entry->discTitle) *entry->discTitle = Latin1ToUtf8(*entry->discTitle);
    for (auto& track : entry->trackTitles) {
        if (track) *track = Latin1ToUtf8(*track);
    }
}

} // namespace

bool ParseXmcdEntry(std::uint32_t discId, std::FILE* file, std::int32_t trackCount, XmcdEntry* entry) {
    char expected[32];
    const int expectedLength = std::snprintf(expected, sizeof expected, "#FILENAME=%08x", static_cast<unsigned>(discId));
    entry->discTitle.reset();
    entry->trackTitles.assign(trackCount > 0 ? static_cast<std::size_t>(trackCount) : 0, std::nullopt);

    XmcdPieceReader reader(file);
    if (!reader.SkipToPiece(expected, static_cast<std::size_t>(expectedLength))) return false;
    const char* line;
    std::size_t length;
    reader.Next(&line, &length); // the entry's own "#FILENAME=" line

    while (reader.Next(&line, &length)) {
        if (StartsWith(line, length, "#FILENAME=")) break; // the next entry begins
        if (line[0] == '#') continue;
        if (StartsWith(line, length, "DTITLE=")) {
            AppendBounded(entry->discTitle, line + 7, DiscTitleBound);
        } else if (StartsWith(line, length, "TTITLE")) {
            const char* equals = std::strchr(line + 6, '=');
            if (!equals) continue;
            const long long index = TrackIndexOf(line + 6, equals);
            if (index < 0 || index >= trackCount) continue;
            AppendBounded(entry->trackTitles[static_cast<std::size_t>(index)], equals + 1, TrackTitleBound);
        }
    }
    ConvertToUtf8(entry);
    return true;
}

void SplitDiscTitle(const std::string& discTitle, std::string* artist, std::string* title) {
    // Entries write "artist / title"; a slash without blanks around it splits only when
    // the text has no " / " (so "AC/DC / Live" keeps its artist whole).
    std::size_t slash = discTitle.find(" / ");
    slash = slash == std::string::npos ? discTitle.find('/') : slash + 1;
    if (slash == std::string::npos || slash == 0) {
        artist->clear();
        *title = discTitle;
        return;
    }
    std::size_t artistEnd = slash;
    while (artistEnd > 0 && IsTitleSeparator(static_cast<unsigned char>(discTitle[artistEnd - 1]))) --artistEnd;
    std::size_t titleStart = slash + 1;
    while (titleStart < discTitle.size() && IsTitleSeparator(static_cast<unsigned char>(discTitle[titleStart])))
        ++titleStart;
    *artist = discTitle.substr(0, artistEnd);
    *title = discTitle.substr(titleStart);
}

void StoreXmcdEntry(const XmcdEntry& entry) {
    std::string artist, title;
    if (entry.discTitle) SplitDiscTitle(*entry.discTitle, &artist, &title);

    DiscInfoHold hold;
    DiscInfoRecord& info = DiscInfo();
    info.artist = Cut(artist);
    info.title = Cut(title);
    for (std::size_t i = 0; i < info.trackTitles.size(); ++i) {
        const bool has = i < entry.trackTitles.size() && entry.trackTitles[i];
        if (has)
            info.trackTitles[i] = Cut(*entry.trackTitles[i]);
        else
            info.trackTitles[i].reset();
    }
}

int ReadXmcdEntry(std::uint32_t discId, std::FILE* file) {
    XmcdEntry entry;
    if (!ParseXmcdEntry(discId, file, CdDevice().trackCount, &entry)) return 0;
    StoreXmcdEntry(entry);
    return 1;
}
