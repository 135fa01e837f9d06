// The CD-Text of CD images, as a drive holding the image answers the CD-Text read: packs
// built from the sheet's TITLE and PERFORMER lines, or a CDTEXTFILE's packs as they are.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "discinfo/cdtext.h"
#include "platform/virtualcd/imagecdtext.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/cdtextpacks.h"
#include "tests/support/posix/sampleimages.h"

using namespace std::string_literals;

namespace {

using Texts = std::vector<std::optional<std::string>>;
Texts First(const Texts& texts, std::size_t count) { return Texts(texts.begin(), texts.begin() + count); }

class ImageCdTextTest : public ::testing::Test {
protected:
    // A sheet over the sample tones.bin (two audio tracks and a data track) with these
    // lines: the album's before the first TRACK, each track's after its TRACK line.
    static std::string Sheet(const std::string& name, const std::string& album, const std::string& one,
                             const std::string& two, const std::string& other = std::string()) {
        const std::string path = SampleImage(name);
        std::ofstream(path, std::ios::binary)
            << album << other << "FILE \"" << SampleImage("tones.bin") << "\" BINARY\n"
            << "  TRACK 01 AUDIO\n" << one << "    INDEX 01 00:00:00\n"
            << "  TRACK 02 AUDIO\n" << two << "    INDEX 00 00:03:00\n    INDEX 01 00:04:00\n"
            << "  TRACK 03 MODE1/2352\n    INDEX 01 00:08:00\n";
        return path;
    }

    // The drive's answer to the CD-Text read for a drive holding the sheet's image.
    CdTextBytes DriveAnswer(const std::string& sheet, std::uint32_t expected = 0) {
        RawCdOpener opener;
        auto driver = CreateVirtualCdDriver({"image " + sheet}, nullptr, 1.0, std::string(),
                                            [this](const std::string& line) { notices.push_back(line); }, nullptr,
                                            &opener);
        std::uint32_t error = 0;
        std::unique_ptr<RawCdDrive> raw = opener("D:", &error);
        CdTextBytes answer;
        EXPECT_TRUE(raw) << error;
        if (raw) {
            EXPECT_EQ(raw->ReadCdText(&answer), expected);
        }
        return answer;
    }

    std::vector<std::string> notices;
};

TEST_F(ImageCdTextTest, SheetTitlesAreTheDrivesCdTextAsAPlayerReadsIt) {
    // The album's title in Latin-1, as older tools wrote sheets; a title over four packs;
    // one not in quotes; performers like the album's.
    const std::string longTitle = "A Title Long Enough To Run Over Four Packs!";
    const CdTextBytes answer =
        DriveAnswer(Sheet("latin.cue", "PERFORMER \"The Lanterns\"\nTITLE \"\xC9t\xE9 Marine\"\n",
                          "    TITLE \"" + longTitle + "\"\n    PERFORMER \"The Lanterns\"\n",
                          "    TITLE Unquoted  Words\n    PERFORMER \"The Lanterns\"\n"));
    const CdTextTitles text = DecodeCdText(answer);
    EXPECT_EQ(First(text.titles, 4), (Texts{"\xC3\x89t\xC3\xA9 Marine"s, longTitle, "Unquoted Words"s, std::nullopt}));
    EXPECT_EQ(First(text.performers, 4), (Texts{"The Lanterns"s, "The Lanterns"s, "The Lanterns"s, std::nullopt}));

    // Laid out as the format prescribes: the length after it, then packs numbered in
    // order, each naming the track its first text is of and how many characters of that
    // text came before (15: it began before the pack before, here with the last byte of
    // the first pack).
    ASSERT_GE(answer.size(), cdrom::CdTextHeaderBytes);
    ASSERT_EQ((answer.size() - cdrom::CdTextHeaderBytes) % cdtext::PackBytes, 0u);
    EXPECT_EQ(static_cast<std::size_t>(answer[0] << 8 | answer[1]), answer.size() - 2);
    const std::size_t count = (answer.size() - cdrom::CdTextHeaderBytes) / cdtext::PackBytes;
    const struct {
        std::uint8_t type, track, position;
    } headers[] = {{0x80, 0, 0},  {0x80, 1, 1}, {0x80, 1, 15}, {0x80, 1, 15}, {0x80, 1, 15}, {0x80, 2, 5},
                   {0x81, 0, 0},  {0x81, 0, 12}, {0x8F, 0, 0}, {0x8F, 1, 0}, {0x8F, 2, 0}};
    ASSERT_EQ(count, std::size(headers));
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* pack = &answer[cdrom::CdTextHeaderBytes + i * cdtext::PackBytes];
        EXPECT_TRUE(CdTextPackIntact(pack)) << i;
        EXPECT_EQ(pack[0], headers[i].type) << i;
        EXPECT_EQ(pack[1], headers[i].track) << i;
        EXPECT_EQ(pack[2], i) << i;
        EXPECT_EQ(pack[3], headers[i].position) << i;
    }
    // The size information: ISO-8859-1, tracks 1 to 3, six title packs, two performer
    // packs, three of its own, the last sequence number.
    const std::uint8_t* size = &answer[cdrom::CdTextHeaderBytes + 8 * cdtext::PackBytes + cdtext::TextOffset];
    EXPECT_EQ(std::vector<int>(size, size + 6), (std::vector<int>{0x00, 1, 3, 0, 6, 2}));
    EXPECT_EQ(size[cdtext::PackBytes + 7], 3);
    EXPECT_EQ(size[cdtext::PackBytes + 8], count - 1);
    EXPECT_TRUE(notices.empty());
}

TEST_F(ImageCdTextTest, TitlesBeyondLatin1GoInMsJisAndComeBackWhole) {
    const std::string tokyo = "\xE6\x9D\xB1\xE4\xBA\xAC Love";      // 東京 Love
    const std::string kino = "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE";      // Кино
    const CdTextBytes answer = DriveAnswer(
        Sheet("kanji.cue", "TITLE \"" + tokyo + "\"\n", "    TITLE \"" + kino + "\"\n", "    TITLE \"Blue\"\n"));
    EXPECT_EQ(First(DecodeCdText(answer).titles, 3), (Texts{tokyo, kino, "Blue"s}));
    ASSERT_GT(answer.size(), cdrom::CdTextHeaderBytes + cdtext::PackBytes);
    EXPECT_EQ(answer[cdrom::CdTextHeaderBytes + 3] & cdtext::DoubleByteFlag, cdtext::DoubleByteFlag);
    const std::size_t sizePack = answer.size() - 3 * cdtext::PackBytes;
    EXPECT_EQ(answer[sizePack + cdtext::TextOffset], cdtext::MsJis);
}

TEST_F(ImageCdTextTest, TextsNoCharacterCodeHoldsAreLeftOutAndNamed) {
    // Hangul is in neither ISO-8859-1 nor MS-JIS, and an accented letter keeps the other
    // titles from MS-JIS.
    const CdTextBytes answer = DriveAnswer(
        Sheet("seoul.cue", "", "    TITLE \"Caf\xC3\xA9\"\n", "    TITLE \"\xEC\x84\x9C\xEC\x9A\xB8\"\n"));
    EXPECT_EQ(First(DecodeCdText(answer).titles, 3), (Texts{std::nullopt, "Caf\xC3\xA9"s, std::nullopt}));
    EXPECT_EQ(notices, std::vector<std::string>{"Virtual CD drive D: has no CD-Text character code for the texts of "
                                                "track 2 title"});
}

TEST_F(ImageCdTextTest, CdTextFilePacksAreAnsweredAsTheyAre) {
    // A pack whose CRC fails goes out as it is: the drive reports what the disc holds.
    CdTextBytes packs = TestPack(cdtext::Title, 0, 0, 0x00, "On the File");
    const CdTextBytes second = TestPack(cdtext::Title, 0, 1, 0x0C, "\0"s);
    packs.insert(packs.end(), second.begin(), second.end());
    packs[20] ^= 0x01;
    const std::string bytes(packs.begin(), packs.end());
    const std::string headed = "\x00\x26\x00\x00"s + bytes;  // the file's size less two
    const struct {
        const char* name;
        std::string contents;
    } files[] = {{"headed.cdt", headed}, {"bare.cdt", bytes}, {"trailing.cdt", bytes + "\0"s}};
    for (const auto& file : files) {
        std::ofstream(SampleImage(file.name), std::ios::binary) << file.contents;
        const CdTextBytes answer = DriveAnswer(
            Sheet("file.cue", "TITLE \"Not From the Sheet\"\n", "", "", "CDTEXTFILE \"" + std::string(file.name) + "\"\n"));
        EXPECT_EQ(answer, CdTextReply(packs)) << file.name;
    }
    std::ofstream(SampleImage("short.cdt"), std::ios::binary) << bytes.substr(1);
    notices.clear();
    // The image is refused whole, as one with a FILE that cannot be read: no disc.
    DriveAnswer(Sheet("short.cue", "", "", "", "CDTEXTFILE \"short.cdt\"\n"), win32error::NotReady);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Virtual CD drive D: cannot use its image: " + SampleImage("short.cdt") +
                              ": not a file of CD-Text packs");
}

TEST(ImageCdText, TextsPastTheBlocksRoomAreCutOffWhole) {
    // 100 titles of 40 letters need 342 packs; a block holds 253 and its size information.
    AlbumTexts texts;
    for (int track = 0; track <= 99; ++track) {
        std::string title = "Title number " + std::to_string(track) + " ";
        texts.titles.push_back(title + std::string(40 - title.size(), 'x'));
        texts.performers.push_back(track == 0 ? "Everyone" : "");
    }
    std::vector<std::string> leftOut;
    const CdTextBytes packs = BuildCdTextPacks(texts, &leftOut);
    EXPECT_EQ(packs.size(), std::size_t{cdtext::MostPacksInBlock} * cdtext::PackBytes);
    const CdTextTitles text = DecodeCdText(CdTextReply(packs));
    std::size_t whole = 0;
    for (std::size_t track = 0; track <= 99; ++track) {
        if (text.titles[track]) {
            EXPECT_EQ(*text.titles[track], texts.titles[track]);
            whole = track + 1;
        }
    }
    EXPECT_EQ(whole, 253u * 12 / 41);
    EXPECT_EQ(text.brokenPacks, 0);
    // No room was left for the performer.
    EXPECT_EQ(text.performers[0], std::nullopt);
}

TEST(ImageCdText, AZeroInsideATextEndsItWithoutMovingTheTextsAfterIt) {
    std::vector<std::string> leftOut;
    const CdTextBytes packs = BuildCdTextPacks(AlbumTexts{{"Album", "One\0and more"s, "Two"}, {"", "", ""}}, &leftOut);
    EXPECT_EQ(First(DecodeCdText(CdTextReply(packs)).titles, 3), (Texts{"Album"s, "One"s, "Two"s}));
}

} // namespace
