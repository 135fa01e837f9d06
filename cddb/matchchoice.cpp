#include "cddb/matchchoice.h"

#include <atomic>
#include <cstring>

#include "log/logmessage.h"
#include "cddb/lineio.h"
#include "cddb/textencoding.h"

namespace {

std::atomic<MatchChooser*> installedChooser{nullptr};

MatchChooser& Chooser() {
    MatchChooser* chooser = installedChooser.load();
    return chooser ? *chooser : DefaultMatchChooser();
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char* SkipWord(const char* text) {
    while (*text && !IsSeparator(static_cast<unsigned char>(*text))) ++text;
    return text;
}

} // namespace

bool ParseMatchLine(const char* line, std::string* category, std::uint32_t* id, std::string* title) {
    const char* categoryWord = SkipSeparators(line);
    const char* categoryEnd = SkipWord(categoryWord);
    const char* idWord = SkipSeparators(categoryEnd);
    const char* idEnd = SkipWord(idWord);
    if (idEnd == idWord || idEnd - idWord > 8) return false;
    std::uint32_t value = 0;
    for (const char* digit = idWord; digit != idEnd; ++digit) {
        const int digitValue = HexDigitValue(*digit);
        if (digitValue < 0) return false;
        value = value * 16 + static_cast<std::uint32_t>(digitValue);
    }
    if (value == 0) return false;
    *category = std::string(categoryWord, categoryEnd);
    *id = value;
    // The title may begin with a letter beyond ASCII.
    const char* titleStart = idEnd;
    while (*titleStart && IsTitleSeparator(static_cast<unsigned char>(*titleStart))) ++titleStart;
    *title = ToProgramText(titleStart);
    return true;
}

MatchList ReadMatchFile(std::FILE* file, const std::fpos_t& start) {
    MatchList matches;
    if (std::fsetpos(file, &start) != 0) return matches;
    char piece[MatchPieceLimit + 1];
    while (std::fgets(piece, sizeof piece, file)) {
        if (char* end = std::strchr(piece, '\n')) *end = '\0';
        std::uint32_t id = 0;
        std::string category, title;
        if (!ParseMatchLine(piece, &category, &id, &title)) {
            // Nothing could be fetched for it, so it is not offered.
            LogMessage("Ignoring match without a disc id: ", piece);
            continue;
        }
        matches.ids.push_back(id);
        matches.titles.push_back(std::move(title));
        matches.categories.push_back(std::move(category));
    }
    return matches;
}

void InstallMatchChooser(MatchChooser* chooser) { installedChooser = chooser; }

ChosenMatch ChooseMatch(std::FILE* file, const std::fpos_t& start) {
    const MatchList matches = ReadMatchFile(file, start);
    // A dialog with nothing to choose could only be dismissed.
    if (matches.ids.empty()) return {};
    const int row = Chooser().Choose(matches.titles);
    if (row < 1 || static_cast<std::size_t>(row) > matches.ids.size()) return {};
    const std::size_t index = static_cast<std::size_t>(row) - 1;
    return {matches.categories[index], matches.ids[index]};
}

int ChooseAmong(const std::vector<std::string>& titles) {
    if (titles.empty()) return -1;
    const int row = Chooser().Choose(titles);
    return row >= 1 && static_cast<std::size_t>(row) <= titles.size() ? row - 1 : -1;
}

void CloseMatchChoice() { Chooser().Abandon(); }
