// The in-memory registry keeps the advapi32 rules, and the field readers stay safe
// whatever a value's size or type.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "discinfo/registryvalues.h"
#include "platform/memoryregistry.h"
#include "platform/utf8text.h"

namespace {

const char* const Key = "SOFTWARE\\Test";

class RegistryValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRegistry(&registry);
        registry.PutKey(Key);
        ASSERT_EQ(registry.OpenKey(RegistryLocalMachine, Key, RegistryKeyRead, &key), RegistrySuccess);
    }
    void TearDown() override {
        registry.CloseKey(key);
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
        InstallRegistry(nullptr);
    }
    MemoryRegistry registry;
    RegistryKey key = 0;
};

TEST_F(RegistryValuesTest, QueryFollowsTheSystemsSizeRules) {
    registry.PutValue(Key, "NoNul", RegistryText, "abc", 3);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    std::uint32_t size = 4;
    std::uint32_t type = 0;
    // Room for one more byte: the terminator is added, the size stays the stored one.
    EXPECT_EQ(registry.QueryValue(key, "nonul", &type, buffer, &size), RegistrySuccess);
    EXPECT_EQ(type, RegistryText);
    EXPECT_EQ(size, 3u);
    EXPECT_STREQ(buffer, "abc");
    // Exactly the stored size: no terminator.
    std::memset(buffer, 'x', sizeof buffer);
    size = 3;
    EXPECT_EQ(registry.QueryValue(key, "NoNul", nullptr, buffer, &size), RegistrySuccess);
    EXPECT_EQ(buffer[3], 'x');
    // Too small: more data, the needed size, and the buffer overwritten.
    size = 2;
    EXPECT_EQ(registry.QueryValue(key, "NoNul", nullptr, buffer, &size), RegistryMoreData);
    EXPECT_EQ(size, 3u);
    // No buffer: the size alone.
    size = 0;
    EXPECT_EQ(registry.QueryValue(key, "NoNul", nullptr, nullptr, &size), RegistrySuccess);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(registry.QueryValue(key, "Other", nullptr, buffer, &size), RegistryNotFound);
}

TEST_F(RegistryValuesTest, TextCrossesAsUtf8AsTheSystemsWideCallsCarryIt) {
    RegistryKey writable = 0;
    ASSERT_EQ(registry.OpenKey(RegistryLocalMachine, Key, RegistryKeyWrite, &writable), RegistrySuccess);
    // The system keeps UTF-16: bytes that are no UTF-8 have no letters to keep.
    EXPECT_EQ(registry.SetValue(writable, "Latin1", RegistryText, "Caf\xE9", 5), RegistryNotText);
    EXPECT_FALSE(registry.GetValue(Key, "Latin1"));
    EXPECT_EQ(registry.SetValue(writable, "Bytes", RegistryBinary, "Caf\xE9", 4), RegistrySuccess);
    const std::string greek = "\xCE\x95\xCE\xBB";
    EXPECT_EQ(registry.SetValue(writable, "Greek", RegistryText, greek.c_str(), 5), RegistrySuccess);
    registry.CloseKey(writable);
    std::uint32_t size = 0;
    EXPECT_EQ(registry.QueryValue(key, "Greek", nullptr, nullptr, &size), RegistrySuccess);
    EXPECT_EQ(size, 5u) << "a text's size is its size in UTF-8";
    // Whatever got in, a text comes out as UTF-8, as the system's conversion gives it.
    registry.PutValue(Key, "Broken", RegistryText, "Caf\xE9", 5);
    std::string text;
    EXPECT_TRUE(ReadRegistryString(key, "Broken", 16, &text));
    EXPECT_EQ(text, "Caf\xEF\xBF\xBD");
}

TEST_F(RegistryValuesTest, RightsAndKeyDeletionAreChecked) {
    std::int32_t one = 1;
    EXPECT_EQ(registry.SetValue(key, "v", RegistryDword, &one, 4), RegistryAccessDenied);
    RegistryKey writable = 0;
    ASSERT_EQ(registry.OpenKey(RegistryLocalMachine, Key, RegistryKeyWrite, &writable), RegistrySuccess);
    std::uint32_t size = 4;
    EXPECT_EQ(registry.QueryValue(writable, "v", nullptr, &one, &size), RegistryAccessDenied);
    RegistryKey child = 0;
    ASSERT_EQ(registry.CreateKey(writable, "Child\\Grandchild", RegistryKeySetValue, &child), RegistrySuccess);
    RegistryKey more = 0;
    EXPECT_EQ(registry.CreateKey(child, "More", RegistryKeySetValue, &more), RegistryAccessDenied);
    // A key with sub-keys stays.
    EXPECT_EQ(registry.DeleteKey(writable, "Child"), RegistryAccessDenied);
    EXPECT_EQ(registry.DeleteKey(writable, "child\\GRANDCHILD"), RegistrySuccess);
    EXPECT_FALSE(registry.HasKey(std::string(Key) + "\\Child\\Grandchild"));
    // The handle of a deleted key fails from then on.
    EXPECT_NE(registry.SetValue(child, "v", RegistryDword, &one, 4), RegistrySuccess);
    EXPECT_EQ(registry.DeleteKey(writable, "Child\\Grandchild"), RegistryNotFound);
    registry.CloseKey(child);
    registry.CloseKey(writable);
}

// A standard user under HKEY_LOCAL_MACHINE: reading works, every way of changing a
// key that exists is refused, a missing key is still reported missing, and the user's
// own root is untouched by the refusal.
TEST_F(RegistryValuesTest, RefusedRootReadsButNeverChanges) {
    registry.PutText(std::string(Key) + "\\Child", "v", "machine");
    registry.RefuseWrites(RegistryLocalMachine);
    RegistryKey opened = 0;
    EXPECT_EQ(registry.OpenKey(RegistryLocalMachine, Key, RegistryKeyWrite, &opened), RegistryAccessDenied);
    EXPECT_EQ(registry.OpenKey(RegistryLocalMachine, Key, RegistryKeySetValue, &opened), RegistryAccessDenied);
    EXPECT_EQ(registry.OpenKey(RegistryLocalMachine, "SOFTWARE\\Missing", RegistryKeyWrite, &opened),
              RegistryNotFound);
    EXPECT_EQ(registry.CreateKey(RegistryLocalMachine, Key, RegistryKeySetValue, &opened), RegistryAccessDenied);
    EXPECT_EQ(registry.CreateKey(RegistryLocalMachine, "SOFTWARE\\New", RegistryKeyRead, &opened),
              RegistryAccessDenied);
    EXPECT_FALSE(registry.HasKey("SOFTWARE\\New"));
    EXPECT_EQ(registry.DeleteKey(key, "Child"), RegistryAccessDenied);
    std::int32_t one = 1;
    EXPECT_EQ(registry.SetValue(RegistryLocalMachine, "v", RegistryDword, &one, 4), RegistryAccessDenied);
    std::string text;
    EXPECT_TRUE(ReadRegistryText(key, "missing", 16, &text) == false);
    ASSERT_EQ(registry.OpenKey(RegistryLocalMachine, std::string(Key).append("\\Child").c_str(), RegistryKeyRead,
                               &opened),
              RegistrySuccess);
    EXPECT_TRUE(ReadRegistryText(opened, "v", 16, &text));
    EXPECT_EQ(text, "machine");
    registry.CloseKey(opened);

    ASSERT_EQ(registry.CreateKey(RegistryCurrentUser, Key, RegistryKeyWrite, &opened), RegistrySuccess);
    EXPECT_EQ(registry.SetValue(opened, "v", RegistryDword, &one, 4), RegistrySuccess);
    registry.CloseKey(opened);
    EXPECT_TRUE(registry.GetValue(Key, "v", RegistryCurrentUser));
    EXPECT_FALSE(registry.GetValue(Key, "v"));
}

struct TextCase {
    const char* what;
    std::uint32_t type;
    std::string stored;
    std::size_t fieldWidth;  // characters, terminator included
    bool read;
    std::string expected;
};

class ReadRegistryTextCases : public RegistryValuesTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ReadRegistryTextCases, FieldKeepsLessThanItsWidth) {
    const TextCase& c = GetParam();
    registry.PutValue(Key, "Value", c.type, c.stored.data(), c.stored.size());
    std::string field = "previous";
    EXPECT_EQ(ReadRegistryText(key, "Value", c.fieldWidth, &field), c.read) << c.what;
    EXPECT_EQ(field, c.expected) << c.what;
}

// Two-byte Greek and three-byte Japanese letters.
const std::string Alpha = "\xCE\xB1";
std::string Letters(const std::string& letter, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += letter;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ReadRegistryTextCases,
    ::testing::Values(
        TextCase{"ordinary text", RegistryText, std::string("Blue Train") + '\0', 257, true, "Blue Train"},
        TextCase{"256 characters and the NUL", RegistryText, std::string(256, 'a') + '\0', 257, true,
                 std::string(256, 'a')},
        TextCase{"257 characters without NUL", RegistryText, std::string(257, 'b'), 257, true, std::string(256, 'b')},
        TextCase{"80 characters without NUL", RegistryText, std::string(80, 'c'), 80, true, std::string(79, 'c')},
        TextCase{"too long for the field", RegistryText, std::string(300, 'd') + '\0', 257, false, "previous"},
        TextCase{"a field of Greek letters, twice the bytes", RegistryText, Letters(Alpha, 79) + '\0', 80, true,
                 Letters(Alpha, 79)},
        TextCase{"Japanese filling the field without NUL", RegistryText, Letters("\xE6\x97\xA5", 80), 80, true,
                 Letters("\xE6\x97\xA5", 79)},
        TextCase{"one letter too many", RegistryText, Letters(Alpha, 81), 80, false, "previous"},
        TextCase{"binary without NUL", RegistryBinary, "host", 80, true, "host"},
        TextCase{"binary filling the field", RegistryBinary, std::string(80, 'e'), 80, true, std::string(79, 'e')},
        TextCase{"binary bytes that are no UTF-8", RegistryBinary, "M\xF6", 80, true, "M\xEF\xBF\xBD"},
        TextCase{"text stored without NUL", RegistryText, "short", 80, true, "short"},
        TextCase{"empty value", RegistryText, "", 80, true, ""},
        TextCase{"bytes after the NUL", RegistryText, std::string("ab\0zz", 5), 80, true, "ab"},
        TextCase{"a number", RegistryDword, std::string("\x01\x00\x00\x00", 4), 80, true, "\x01"}));

TEST_F(RegistryValuesTest, FieldsAreWrittenInTheirWholeWidthOfCharacters) {
    RegistryKey writable = 0;
    ASSERT_EQ(registry.OpenKey(RegistryLocalMachine, Key, RegistryKeyWrite, &writable), RegistrySuccess);
    EXPECT_EQ(WriteRegistryTextField(writable, "Plain", "C:\\cddb", 260), RegistrySuccess);
    const auto plain = registry.GetValue(Key, "Plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->type, RegistryText);
    EXPECT_EQ(plain->data.size(), 260u) << "an ASCII text fills as many bytes as before";
    // A path of Greek letters is padded to the same number of characters, and reads back.
    const std::string greek = "C:\\Musik\\" + Letters(Alpha, 8);
    WriteRegistryTextField(writable, "Greek", greek, 260);
    const auto stored = registry.GetValue(Key, "Greek");
    ASSERT_TRUE(stored);
    EXPECT_EQ(Utf8Length(std::string(stored->data.begin(), stored->data.end())), 260u);
    std::string back;
    EXPECT_TRUE(ReadRegistryText(key, "Greek", 260, &back));
    EXPECT_EQ(back, greek);
    registry.CloseKey(writable);
}

TEST_F(RegistryValuesTest, CutReadKeepsTheStartOfATextLongerThanTheLimit) {
    registry.PutValue(Key, "Long", RegistryText, (std::string(300, 'd') + '\0').data(), 301);
    std::string text;
    EXPECT_TRUE(ReadRegistryTextCut(key, "Long", 256, &text));
    EXPECT_EQ(text, std::string(256, 'd'));
    // Letters of several bytes count one each, and the cut keeps them whole.
    std::string greek;
    for (int i = 0; i < 300; ++i) greek += "\xCE\xB1";
    registry.PutText(Key, "Greek", greek);
    EXPECT_TRUE(ReadRegistryTextCut(key, "Greek", 255, &text));
    EXPECT_EQ(text, greek.substr(0, 510));
    std::string missing = "kept";
    EXPECT_FALSE(ReadRegistryTextCut(key, "Nothing", 256, &missing));
    EXPECT_EQ(missing, "kept");
}

TEST_F(RegistryValuesTest, MissingTextLeavesTheField) {
    std::string field = "kept";
    EXPECT_FALSE(ReadRegistryText(key, "Nothing", 80, &field));
    EXPECT_EQ(field, "kept");
}

TEST_F(RegistryValuesTest, NumbersOfAnotherSizeLeaveTheDefault) {
    const std::int32_t four = 4;
    registry.PutValue(Key, "Four", RegistryDword, &four, 4);
    registry.PutValue(Key, "Two", RegistryDword, "\x07\x00", 2);
    registry.PutValue(Key, "Eight", RegistryBinary, "\x07\x00\x00\x00\x00\x00\x00\x00", 8);
    registry.PutValue(Key, "Text", RegistryText, "1\0", 2);
    registry.PutValue(Key, "BinaryFour", RegistryBinary, "\x09\x00\x00\x00", 4);
    std::int32_t field = 10;
    for (const char* name : {"Two", "Eight", "Text", "Missing"}) {
        EXPECT_FALSE(ReadRegistryDword(key, name, &field)) << name;
        EXPECT_EQ(field, 10) << name;
    }
    EXPECT_TRUE(ReadRegistryDword(key, "Four", &field));
    EXPECT_EQ(field, 4);
    // The type is not checked, only the size.
    EXPECT_TRUE(ReadRegistryDword(key, "BinaryFour", &field));
    EXPECT_EQ(field, 9);
}

} // namespace
