// Finding a disc's entry in xmcd files and storing its titles in DiscInfo.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "cddb/xmcd.h"
#include "cddb/xmcdreader.h"
#include "discinfo/discinfo.h"

namespace {

const std::string XmcdDir = std::string(TUNOVA_SOURCE_DIR) + "/tests/data/cddb/xmcd/";

using Titles = std::vector<std::optional<std::string>>;

struct XmcdCase {
    const char* file;
    unsigned discId;
    int tracks;
    int found;
    std::string artist;
    std::string title;
    Titles trackTitles;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }
std::string Letters(const std::string& letter, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += letter;
    return text;
}

class ReadXmcdEntryTest : public ::testing::TestWithParam<XmcdCase> {
protected:
    void TearDown() override {
        ResetDiscInfo();
        CdDevice().trackCount = 0;
    }
};

TEST_P(ReadXmcdEntryTest, StoresTheEntryOrLeavesDiscInfoAlone) {
    const XmcdCase& c = GetParam();
    CdDevice().trackCount = c.tracks;
    DiscInfoRecord& info = DiscInfo();
    info.artist = "Old Artist";
    info.title = "Old Title";
    info.trackTitles.assign(static_cast<std::size_t>(c.tracks), std::string("Old Track"));
    info.program = {2, 1};

    std::FILE* file = std::fopen((XmcdDir + c.file).c_str(), "r");
    ASSERT_NE(file, nullptr) << c.file;
    EXPECT_EQ(ReadXmcdEntry(c.discId, file), c.found);
    std::fclose(file);

    EXPECT_EQ(std::string(info.artist), c.artist);
    EXPECT_EQ(std::string(info.title), c.title);
    EXPECT_EQ(info.trackTitles, c.trackTitles);
    EXPECT_EQ(info.program, (std::vector<std::int32_t>{2, 1})) << "the programmed order is never touched";
}

const std::string Old = "Old Track";

INSTANTIATE_TEST_SUITE_P(
    Files, ReadXmcdEntryTest,
    ::testing::Values(
        XmcdCase{"two-entries.xmcd", 0x1a2b3c03, 3, 1, "Artist Name", "Album Title", {"One", "Two", "Three"}},
        XmcdCase{"followed-by-another.xmcd", 0x1a2b3c03, 3, 1, "Artist Name", "Album Title",
                 {"One", std::nullopt, std::nullopt}},
        XmcdCase{"acdc-crlf.xmcd", 0x1a2b3c03, 2, 1, "AC/DC", "Live", {"Intro", std::nullopt}},
        XmcdCase{"various.xmcd", 0x1a2b3c03, 1, 1, "", "Various Artists", {std::nullopt}},
        XmcdCase{"slash-first.xmcd", 0x1a2b3c03, 1, 1, "", "/ Untitled", {std::nullopt}},
        XmcdCase{"joined.xmcd", 0x1a2b3c03, 10, 1, "Long Artist Name", "Title",
                 {"Intro (Reprise)", std::nullopt, "Spaced Index", std::nullopt, std::nullopt, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
        XmcdCase{"ten-tracks.xmcd", 0x0000000a, 10, 1, "Ten", "Tracks",
                 {"Track 0", "Track 1", "Track 2", "Track 3", "Track 4", "Track 5", "Track 6", "Track 7",
                  std::nullopt, std::nullopt}},
        // Joined titles of 300 characters keep 256; a 300-character physical line is read
        // 255 characters at a time and its remainder, not being a keyword line, is lost.
        XmcdCase{"long-title.xmcd", 0x1a2b3c03, 3, 1, "Artist", Repeat('x', 256).c_str(),
                 {Repeat('z', 247), Repeat('y', 256), "after the long line"}},
        // Entries as servers store them: UTF-8 (a letter cut across two lines joins
        // before the entry is judged) and Latin-1 (a UTF-8-looking sequence in a Latin-1
        // entry is read as Latin-1 with the rest); both are held as UTF-8.
        XmcdCase{"utf8-real.xmcd", 0x1a2b3c03, 2, 1, "L\xC3\xA9" "a Fontaine",
                 "\xC3\x89t\xC3\xA9 \xC3\xA0 Paris \xE2\x80\x93 Live \xE6\x97\xA5",
                 {"Caf\xC3\xA9 cr\xC3\xA8me", "Na\xC3\xAFve"}},
        XmcdCase{"latin1-real.xmcd", 0x1a2b3c03, 2, 1, "Beyonc\xC3\xA9", "Jardin d\xC2\xB4\xC3\xA9t\xC3\xA9",
                 {"\xC3\x89l\xC3\xA9gie", "\xC3\x83\xC2\xA9 as written"}},
        // Cyrillic, Greek, a letter beyond 16 bits, and 400 Japanese letters over lines
        // cut inside letters: 256 letters are kept, and the gathering bound that cuts the
        // long title in a letter does not make the entry Latin-1.
        XmcdCase{"utf8-long-letters.xmcd", 0x1a2b3c03, 2, 1, "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE",
                 "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC \xCF\x84\xCF\x81\xCE\xB1\xCE\xB3\xCE\xBF\xCF\x8D\xCE\xB4\xCE\xB9\xCE\xB1",
                 {Letters("\xE6\x97\xA5", 256), "\xF0\x9D\x84\x9E Clef"}},
        XmcdCase{"no-dtitle.xmcd", 0x1a2b3c03, 1, 1, "", "", {"Only Tracks"}},
        XmcdCase{"other-disc.xmcd", 0x1a2b3c03, 2, 0, "Old Artist", "Old Title", {Old, Old}}));

TEST(SplitDiscTitleTest, CutsAtTheFirstBlankedSlashElseAtTheFirstSlash) {
    struct {
        const char* text;
        const char* artist;
        const char* title;
    } cases[] = {
        {"Artist Name / Album Title", "Artist Name", "Album Title"},
        {"AC/DC / Live", "AC/DC", "Live"},
        {"Artist/Title", "Artist", "Title"},
        {"A/B/C", "A", "B/C"},
        {"Various Artists", "", "Various Artists"},
        {"/ Untitled", "", "/ Untitled"},
        {"Artist\t \x01/\x01 Title", "Artist", "Title"},
        // Bytes beyond ASCII are letters of the code page, never trimmed as blanks.
        {"Beyonc\xE9 / 4", "Beyonc\xE9", "4"},
        {"\xC9" "dith Piaf/\xC9t\xE9", "\xC9" "dith Piaf", "\xC9t\xE9"},
        {"Artist /", "Artist", ""},
    };
    for (const auto& c : cases) {
        std::string artist = "x", title = "x";
        SplitDiscTitle(c.text, &artist, &title);
        EXPECT_EQ(artist, c.artist) << c.text;
        EXPECT_EQ(title, c.title) << c.text;
    }
}

// The piece reader must hand out exactly what fgets with a 256-byte buffer would, for
// any mix of line lengths, and find a prefix only where such a piece begins.
std::vector<std::string> FgetsPieces(std::FILE* file) {
    std::vector<std::string> pieces;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string piece = buffer;
        const std::size_t newline = piece.find('\n');
        if (newline != std::string::npos) piece.resize(newline);
        pieces.push_back(piece);
    }
    return pieces;
}

std::FILE* RandomXmcdText(unsigned seed) {
    std::mt19937 random(seed);
    std::FILE* file = std::tmpfile();
    for (int i = 0; i < 2000; ++i) {
        const int kind = static_cast<int>(random() % 10);
        std::string line;
        if (kind == 0) {
            line = "#FILENAME=1a2b3c0" + std::to_string(random() % 4);
        } else {
            const std::size_t length = kind == 1 ? 520 + random() % 600 : random() % 80;
            for (std::size_t j = 0; j < length; ++j) line += static_cast<char>('a' + random() % 26);
            // Now and then a prefix in the middle of a long line, at or off a piece start.
            if (kind == 1 && random() % 2) line.replace(255 * (1 + random() % 2) - random() % 2, 0, "#FILENAME=1a2b3c09");
        }
        std::fputs((line + "\n").c_str(), file);
    }
    std::rewind(file);
    return file;
}

TEST(XmcdPieceReaderTest, PiecesAreThoseOfA256ByteFgets) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        std::FILE* file = RandomXmcdText(seed);
        const std::vector<std::string> expected = FgetsPieces(file);
        std::rewind(file);
        XmcdPieceReader reader(file);
        std::vector<std::string> pieces;
        const char* piece;
        std::size_t length;
        while (reader.Next(&piece, &length)) pieces.emplace_back(piece, length);
        EXPECT_EQ(pieces, expected) << "seed " << seed;
        std::fclose(file);
    }
}

TEST(XmcdPieceReaderTest, SkipFindsThePrefixOnlyAtAPieceStart) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        for (const char* prefix : {"#FILENAME=1a2b3c02", "#FILENAME=1a2b3c09", "#FILENAME=ffffffff"}) {
            std::FILE* file = RandomXmcdText(seed);
            const std::vector<std::string> pieces = FgetsPieces(file);
            std::size_t first = 0;
            while (first < pieces.size() && pieces[first].compare(0, 18, prefix) != 0) ++first;
            std::rewind(file);

            XmcdPieceReader reader(file);
            const bool found = reader.SkipToPiece(prefix, 18);
            EXPECT_EQ(found, first < pieces.size()) << prefix;
            std::vector<std::string> rest;
            const char* piece;
            std::size_t length;
            while (reader.Next(&piece, &length)) rest.emplace_back(piece, length);
            const std::vector<std::string> expected(pieces.begin() + static_cast<long>(first), pieces.end());
            EXPECT_EQ(rest, expected) << "seed " << seed << " " << prefix;
            std::fclose(file);
        }
    }
}

TEST(XmcdPieceReaderTest, CarriageReturnLineEndsAreNotPartOfThePiece) {
    std::FILE* file = std::tmpfile();
    const std::string exact(254, 'a');
    std::fputs(("one\r\n\r\n" + exact + "\r\nlast\r").c_str(), file);
    std::rewind(file);
    XmcdPieceReader reader(file);
    std::vector<std::string> pieces;
    const char* piece;
    std::size_t length;
    while (reader.Next(&piece, &length)) pieces.emplace_back(piece, length);
    EXPECT_EQ(pieces, (std::vector<std::string>{"one", "", exact, "last\r"}));
    std::fclose(file);
}

} // namespace
