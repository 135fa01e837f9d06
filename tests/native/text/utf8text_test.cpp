// The rules that keep the program's UTF-8 texts whole.
#include <gtest/gtest.h>

#include <string>

#include "platform/utf8text.h"

namespace {

// Letters of one, two, three and four bytes.
const std::string A = "a";
const std::string EAcute = "\xC3\xA9";         // é
const std::string Sun = "\xE6\x97\xA5";         // 日
const std::string Note = "\xF0\x9F\x8E\xB5";    // U+1F3B5, beyond the 16-bit plane

struct ValidityCase {
    const char* what;
    std::string text;
    bool valid;
};

class Utf8Validity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(Utf8Validity, TellsUtf8FromOtherBytes) {
    const ValidityCase& c = GetParam();
    EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Utf8Validity,
    ::testing::Values(ValidityCase{"ASCII", "Blue Train", true}, ValidityCase{"empty", "", true},
                      ValidityCase{"letters of every length", A + EAcute + Sun + Note, true},
                      ValidityCase{"Latin-1", "Caf\xE9", false},
                      ValidityCase{"a stray continuation byte", "a\x80" "b", false},
                      ValidityCase{"a letter cut short at the end", "x\xE6\x97", false},
                      ValidityCase{"a four-byte letter cut short", "\xF0\x9F\x8E", false},
                      ValidityCase{"an overlong slash", "\xC0\xAF", false},
                      ValidityCase{"an overlong three-byte form", "\xE0\x80\xAF", false},
                      ValidityCase{"a surrogate", "\xED\xA0\x80", false},
                      ValidityCase{"past the last code point", "\xF4\x90\x80\x80", false},
                      ValidityCase{"the last code point", "\xF4\x8F\xBF\xBF", true}));

TEST(Utf8Text, CountsLettersNotBytes) {
    EXPECT_EQ(Utf8Length(A + EAcute + Sun + Note), 4u);
    EXPECT_EQ(Utf8Length(""), 0u);
    // Bytes that are no letter count one each: they stay in the text and take room.
    EXPECT_EQ(Utf8Length("Caf\xE9"), 4u);
    EXPECT_EQ(Utf8Length("\xE6\x97"), 2u);
}

TEST(Utf8Text, PrefixNeverEndsInsideALetter) {
    const std::string text = A + EAcute + Sun + Note + "z";
    EXPECT_EQ(Utf8Prefix(text, 0), "");
    EXPECT_EQ(Utf8Prefix(text, 1), A);
    EXPECT_EQ(Utf8Prefix(text, 2), A + EAcute);
    EXPECT_EQ(Utf8Prefix(text, 3), A + EAcute + Sun);
    EXPECT_EQ(Utf8Prefix(text, 4), A + EAcute + Sun + Note);
    EXPECT_EQ(Utf8Prefix(text, 5), text);
    EXPECT_EQ(Utf8Prefix(text, 99), text);
    // A malformed byte is one character of its own.
    EXPECT_EQ(Utf8Prefix("\xE9\xE9" + Sun, 2), "\xE9\xE9");
    EXPECT_EQ(Utf8Prefix("\xE6\x97" + Sun, 3), "\xE6\x97" + Sun);
}

TEST(Utf8Text, ByteCutsStopBeforeALetterThatDoesNotFit) {
    const std::string text = A + Note + Sun;  // 1 + 4 + 3 bytes
    EXPECT_EQ(Utf8CutBytes(text, 0), 0u);
    EXPECT_EQ(Utf8CutBytes(text, 1), 1u);
    EXPECT_EQ(Utf8CutBytes(text, 4), 1u) << "three bytes of the four-byte letter are not a letter";
    EXPECT_EQ(Utf8CutBytes(text, 5), 5u);
    EXPECT_EQ(Utf8CutBytes(text, 7), 5u);
    EXPECT_EQ(Utf8CutBytes(text, 8), 8u);
    EXPECT_EQ(Utf8CutBytes(text, 100), 8u);
}

TEST(Utf8Text, CopiesIntoANarrowBufferEndBetweenLetters) {
    char buffer[6] = "xxxxx";
    CopyUtf8(A + Sun + EAcute, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), A + Sun) << "the two-byte letter does not fit beside the terminator";
    CopyUtf8(Note, buffer, 4);
    EXPECT_EQ(std::string(buffer), "");
    CopyUtf8("ab", buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), "ab");
}

TEST(Utf8Text, Latin1LettersBecomeTheSameLettersInUtf8) {
    EXPECT_EQ(Latin1ToUtf8("Caf\xE9 \xD8rjan \xFF"), "Caf\xC3\xA9 \xC3\x98rjan \xC3\xBF");
    EXPECT_EQ(Latin1ToUtf8("plain"), "plain");
    // Windows wrote its quotes, dashes and the euro sign in the control range.
    EXPECT_EQ(Latin1ToUtf8("Don\x92t \x96 \x80"), "Don\xE2\x80\x99t \xE2\x80\x93 \xE2\x82\xAC");
    // Bytes the page leaves empty are kept as their control codes, not dropped.
    EXPECT_EQ(Latin1ToUtf8("\x81"), "\xC2\x81");
    std::string every;
    for (int byte = 1; byte < 256; ++byte) every += static_cast<char>(byte);
    const std::string converted = Latin1ToUtf8(every);
    EXPECT_TRUE(IsValidUtf8(converted));
    EXPECT_EQ(Utf8Length(converted), 255u) << "one letter for every byte";
}

TEST(Utf8Text, OutsideTextIsUtf8ElseLatin1) {
    EXPECT_EQ(Utf8OrLatin1ToUtf8(Sun + " " + EAcute), Sun + " " + EAcute);
    EXPECT_EQ(Utf8OrLatin1ToUtf8("Beyonc\xE9"), "Beyonc\xC3\xA9");
    // One Latin-1 letter makes the whole text Latin-1, its UTF-8-looking pairs too.
    EXPECT_EQ(Utf8OrLatin1ToUtf8("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
}

TEST(Utf8Text, ValidUtf8ReplacesOnlyWhatIsNoLetter) {
    EXPECT_EQ(ValidUtf8(Sun + "\xE9" + Note), Sun + "\xEF\xBF\xBD" + Note);
    EXPECT_EQ(ValidUtf8(A + EAcute), A + EAcute);
}

} // namespace
