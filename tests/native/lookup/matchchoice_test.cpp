// Reading the server's list of close matches and turning a choice into a disc id.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cddb/matchchoice.h"

namespace {

TEST(ParseMatchLine, TakesTheIdWordAndTheRestAsTitle) {
    struct {
        const char* line;
        bool parsed;
        const char* category;
        std::uint32_t id;
        const char* title;
    } cases[] = {
        {"rock 9c0b330c The Lanterns / Harbour Lights", true, "rock", 0x9c0b330c, "The Lanterns / Harbour Lights"},
        {" \tjazz  920EF00B   Quiet Hours Trio / Night Shift ", true, "jazz", 0x920ef00b,
         "Quiet Hours Trio / Night Shift "},
        {"misc 1a", true, "misc", 0x1a, ""},
        // A title may begin with a letter beyond ASCII, in Latin-1 or in UTF-8; it is
        // shown in UTF-8 with every letter.
        {"misc 0a0b0c0d \xC9" "dith Piaf / Best", true, "misc", 0x0a0b0c0d, "\xC3\x89" "dith Piaf / Best"},
        {"folk 0a0b0c0d \xC3\x89" "dith Piaf / \xE2\x80\x9C" "Best\xE2\x80\x9D \xE6\x97\xA5", true, "folk", 0x0a0b0c0d,
         "\xC3\x89" "dith Piaf / \xE2\x80\x9C" "Best\xE2\x80\x9D \xE6\x97\xA5"},
        {"rock Title / Words", false, "", 0, ""},
        {"rock 123456789 Nine Digits", false, "", 0, ""},
        {"rock 00000000 Zero", false, "", 0, ""},
        {"", false, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::uint32_t id = 0;
        std::string category, title;
        ASSERT_EQ(ParseMatchLine(c.line, &category, &id, &title), c.parsed);
        if (!c.parsed) continue;
        EXPECT_EQ(category, c.category);
        EXPECT_EQ(id, c.id);
        EXPECT_EQ(title, c.title);
    }
}

class MatchFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = std::tmpfile();
        // Text before the start position belongs to nobody.
        std::fputs("rock 11111111 Before The Start\n", file);
        std::fgetpos(file, &start);
    }
    void TearDown() override { std::fclose(file); }

    std::FILE* file = nullptr;
    std::fpos_t start{};
};

TEST_F(MatchFileTest, LinesAreReadInPiecesOfAtMost255Characters) {
    const std::string firstPiece = "rock 0000000a " + std::string(241, 'A');
    ASSERT_EQ(firstPiece.size(), 255u);
    std::fputs((firstPiece + "misc 0000000b Rest Of The Line\n").c_str(), file);
    // Exactly 255 characters: the line end comes as an empty piece of its own.
    std::fputs(("jazz 0000000c " + std::string(241, 'C') + "\n").c_str(), file);
    std::fputs("blues 0000000d Last\n", file);

    const MatchList matches = ReadMatchFile(file, start);
    EXPECT_EQ(matches.ids, (std::vector<std::uint32_t>{0xa, 0xb, 0xc, 0xd}));
    EXPECT_EQ(matches.titles,
              (std::vector<std::string>{std::string(241, 'A'), "Rest Of The Line", std::string(241, 'C'), "Last"}));
}

class RowChooser : public MatchChooser {
public:
    explicit RowChooser(int row) : row_(row) {}
    int Choose(const std::vector<std::string>& titles) override {
        shown = titles;
        ++calls;
        return row_;
    }
    void Abandon() override {}
    std::vector<std::string> shown;
    int calls = 0;

private:
    int row_;
};

TEST_F(MatchFileTest, ChoiceGivesTheRowsCategoryAndIdOrNone) {
    // The same id filed in two categories: the row decides which entry is meant.
    std::fputs("rock 9c0b330c First\njazz 9c0b330c Second\n", file);
    struct {
        int row;
        const char* category;
        std::uint32_t id;
    } cases[] = {{1, "rock", 0x9c0b330c}, {2, "jazz", 0x9c0b330c}, {0, "", 0}, {3, "", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        RowChooser chooser(c.row);
        InstallMatchChooser(&chooser);
        const ChosenMatch chosen = ChooseMatch(file, start);
        EXPECT_EQ(chosen.id, c.id);
        EXPECT_EQ(chosen.category, c.category);
        EXPECT_EQ(chooser.shown, (std::vector<std::string>{"First", "Second"}));
    }
    InstallMatchChooser(nullptr);
}

TEST_F(MatchFileTest, NothingToChooseAsksNobody) {
    std::fputs("\n", file);
    RowChooser chooser(1);
    InstallMatchChooser(&chooser);
    EXPECT_EQ(ChooseMatch(file, start).id, 0u);
    EXPECT_EQ(chooser.calls, 0);
    InstallMatchChooser(nullptr);
}

} // namespace
