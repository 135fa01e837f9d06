// The disc's own titles: the CD-Text packs a drive returns, read into UTF-8 texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discinfo/cdtext.h"
#include "tests/support/cdtextpacks.h"

using namespace std::string_literals;

namespace {

// Published pack dumps: the size information example of the CD-Text descriptions of
// libburn and libcdio, and two title packs of a Japanese (MS-JIS) block of libcueify's
// tests, with their CRCs as published.
const char* const PublishedPacks[] = {
    "8f 00 2a 00 01 01 03 00 06 05 04 05 07 06 01 02 48 65",
    "8f 01 2b 00 00 00 00 00 00 00 06 03 2c 00 00 00 c0 20",
    "8f 02 2c 00 00 00 00 00 09 00 00 00 00 00 00 00 11 45",
    "80 00 00 90 83 71 81 5b 83 5b 83 93 00 00 09 09 76 f7",
    "80 01 01 92 00 00 83 4a 83 4e 83 5e 83 58 00 00 45 3a",
    "8f 00 0a 90 80 01 0c 03 04 06 00 00 00 00 00 00 26 b3",
};

// A block's three size packs; the reader needs only the character code of the first.
std::vector<CdTextBytes> SizePacks(std::uint8_t blockByte, std::uint8_t sequence, std::uint8_t code) {
    return {TestPack(cdtext::SizeInfo, 0, sequence, blockByte, std::string(1, static_cast<char>(code)) + "\x01\x03"),
            TestPack(cdtext::SizeInfo, 1, static_cast<std::uint8_t>(sequence + 1), blockByte, ""),
            TestPack(cdtext::SizeInfo, 2, static_cast<std::uint8_t>(sequence + 2), blockByte, "")};
}

std::vector<CdTextBytes> Joined(std::vector<CdTextBytes> packs, const std::vector<CdTextBytes>& more) {
    packs.insert(packs.end(), more.begin(), more.end());
    return packs;
}

// An album in block 0, ISO-8859-1: three titles over three packs, so that a pack holds
// the end of one title and the start of the next, and the last starts with a title's
// end; two performers, track 1's a tab.
std::vector<CdTextBytes> AlbumPacks() {
    return Joined({TestPack(cdtext::Title, 0, 0, 0x00, "Harbour Ligh"),
                   TestPack(cdtext::Title, 0, 1, 0x0C, "ts\0Caf\xE9 Noir"s),
                   TestPack(cdtext::Title, 1, 2, 0x09, "\0Home Port\0"s),
                   TestPack(cdtext::Performer, 0, 3, 0x00, "The Lanterns"),
                   TestPack(cdtext::Performer, 0, 4, 0x0C, "\0\t\0Mara Vey\0"s)},
                  SizePacks(0x00, 5, cdtext::Iso8859_1));
}

using Texts = std::vector<std::optional<std::string>>;
Texts First(const Texts& texts, std::size_t count) { return Texts(texts.begin(), texts.begin() + count); }

TEST(CdTextPacks, PublishedPacksCarryTheCrcComputedHere) {
    for (const char* published : PublishedPacks) {
        const CdTextBytes pack = HexBytes(published);
        ASSERT_EQ(pack.size(), cdtext::PackBytes);
        EXPECT_TRUE(CdTextPackIntact(pack.data())) << published;
        CdTextBytes resealed = pack;
        resealed[16] = resealed[17] = 0;
        SealCdTextPack(resealed.data());
        EXPECT_EQ(resealed, pack) << published;
        // One bit off anywhere, in the text or in the CRC itself, is seen.
        for (std::size_t at : {std::size_t{0}, std::size_t{9}, std::size_t{17}}) {
            CdTextBytes damaged = pack;
            damaged[at] ^= 0x04;
            EXPECT_FALSE(CdTextPackIntact(damaged.data())) << published << " byte " << at;
        }
    }
}

TEST(CdTextPacks, TextsRunOnAcrossPacksAndTracks) {
    const CdTextTitles text = DecodeCdText(CdTextReply(AlbumPacks()));
    EXPECT_EQ(First(text.titles, 4), (Texts{"Harbour Lights"s, "Caf\xC3\xA9 Noir"s, "Home Port"s, std::nullopt}));
    // A tab repeats the text before it, here the album's.
    EXPECT_EQ(First(text.performers, 4), (Texts{"The Lanterns"s, "The Lanterns"s, "Mara Vey"s, std::nullopt}));
    EXPECT_EQ(text.brokenPacks, 0);
}

TEST(CdTextPacks, EachCharacterCodeReadsIntoUtf8) {
    const struct {
        std::uint8_t code;
        std::uint8_t blockByte;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {cdtext::Iso8859_1, 0x00, "\xC9t\xE9 \xE0 Paris", "\xC3\x89t\xC3\xA9 \xC3\xA0 Paris"},
        {cdtext::Ascii, 0x00, "Blue Train", "Blue Train"},
        // Shift-JIS as code page 932 has it: kana, and a full-width Latin letter.
        {cdtext::MsJis, 0x80, "\x83\x4a\x83\x4e\x82\x60", "\xE3\x82\xAB\xE3\x82\xAF\xEF\xBC\xA1"},
    };
    for (const auto& c : cases) {
        const std::string terminator(c.code == cdtext::MsJis ? 2 : 1, '\0');
        const CdTextTitles text = DecodeCdText(CdTextReply(
            Joined({TestPack(cdtext::Title, 0, 0, c.blockByte, c.bytes + terminator)}, SizePacks(c.blockByte, 1, c.code))));
        EXPECT_EQ(text.titles[0], c.utf8) << int{c.code};
    }
}

TEST(CdTextPacks, PublishedMsJisBlockGivesItsKanaAndItsTab) {
    // Block 1 alone, double-byte: the album's title, a pair of tabs for track 1 whose two
    // closing zeros open the next pack, and track 2's title. Bytes past the answer's
    // length are no pack.
    CdTextBytes reply = CdTextReply({HexBytes(PublishedPacks[3]), HexBytes(PublishedPacks[4]), HexBytes(PublishedPacks[5])});
    reply.insert(reply.end(), {0x80, 0x02, 0x02, 0x90, 0x83});
    const CdTextTitles text = DecodeCdText(reply);
    const std::string album = "\xE3\x83\x92\xE3\x83\xBC\xE3\x82\xBC\xE3\x83\xB3"; // ヒーゼン
    EXPECT_EQ(First(text.titles, 4), (Texts{album, album, "\xE3\x82\xAB\xE3\x82\xAF\xE3\x82\xBF\xE3\x82\xB9"s, std::nullopt}));
    EXPECT_EQ(text.brokenPacks, 0);
}

TEST(CdTextPacks, APackFailingItsCrcLosesOnlyTheTextsItHeldPartOf) {
    const struct {
        std::size_t broken;
        Texts titles;
        std::optional<std::string> trackOnePerformer;
    } cases[] = {
        // The next pack says its first text began earlier: that one is dropped, the
        // following ones are placed by the track the pack names.
        {0, {std::nullopt, "Caf\xC3\xA9 Noir"s, "Home Port"s}, "The Lanterns"s},
        {1, {std::nullopt, std::nullopt, "Home Port"s}, "The Lanterns"s},
        {2, {"Harbour Lights"s, std::nullopt, std::nullopt}, "The Lanterns"s},
        // Without the album's performer a tab has nothing to repeat.
        {3, {"Harbour Lights"s, "Caf\xC3\xA9 Noir"s, "Home Port"s}, std::nullopt},
    };
    for (const auto& c : cases) {
        std::vector<CdTextBytes> packs = AlbumPacks();
        packs[c.broken][cdtext::TextOffset + 1] ^= 0x20;
        const CdTextTitles text = DecodeCdText(CdTextReply(packs));
        EXPECT_EQ(First(text.titles, 3), c.titles) << "pack " << c.broken;
        EXPECT_EQ(text.performers[1], c.trackOnePerformer) << "pack " << c.broken;
        EXPECT_EQ(text.brokenPacks, 1);
    }
}

TEST(CdTextPacks, TheFirstBlockInACodeThatIsReadIsTaken) {
    const std::vector<CdTextBytes> english = Joined({TestPack(cdtext::Title, 0, 0, 0x00, "Heimat\0"s)},
                                                    SizePacks(0x00, 1, cdtext::Iso8859_1));
    const std::vector<CdTextBytes> japanese = Joined({TestPack(cdtext::Title, 0, 0, 0x90, "\x83\x4a\0\0"s)},
                                                     SizePacks(0x90, 1, cdtext::MsJis));
    const std::vector<CdTextBytes> mandarin = Joined({TestPack(cdtext::Title, 0, 0, 0x80, "\xB1\xB1\0\0"s)},
                                                     SizePacks(0x80, 1, 0x82));
    const std::vector<CdTextBytes> secondEnglish = Joined({TestPack(cdtext::Title, 0, 0, 0x10, "Heimat\0"s)},
                                                          SizePacks(0x10, 1, cdtext::Iso8859_1));

    EXPECT_EQ(DecodeCdText(CdTextReply(Joined(english, japanese))).titles[0], "Heimat");
    const CdTextTitles past = DecodeCdText(CdTextReply(Joined(mandarin, secondEnglish)));
    EXPECT_EQ(past.titles[0], "Heimat");
    EXPECT_EQ(past.unreadCode, -1);
    const CdTextTitles unread = DecodeCdText(CdTextReply(mandarin));
    EXPECT_EQ(unread.titles[0], std::nullopt);
    EXPECT_EQ(unread.unreadCode, 0x82);
    // A block whose size packs were lost is told by its double-byte flags.
    EXPECT_EQ(DecodeCdText(CdTextReply({japanese[0]})).titles[0], "\xE3\x82\xAB");
}

} // namespace
