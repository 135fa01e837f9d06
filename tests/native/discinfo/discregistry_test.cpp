#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cdaudio/toc.h"
#include "discfixture.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"

namespace {

using Titles = std::vector<std::optional<std::string>>;
using Numbers = std::vector<std::int32_t>;

class DiscRegistryTest : public DiscInfoTest {
protected:
    void SetUp() override {
        DiscInfoTest::SetUp();
        for (const char* key : {CurrentDiscKey, Disc210Key, Disc200Key}) registry.PutKey(key);
        PrepareEmptyRecord();
    }
    void Save() {
        SaveDiscToRegistry();
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
    std::vector<std::string> StoredNames(const char* versionKey) const {
        return registry.ValueNames(RecordPath(versionKey));
    }
};

TEST_F(DiscRegistryTest, UnknownDiscIsLoggedAndLeavesTheRecordEmpty) {
    EXPECT_EQ(LoadDiscFromRegistry(), 0);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 0);
    EXPECT_EQ(DiscInfo().artist, "");
    // Newest version first; within a version the user's own record before the machine's.
    EXPECT_EQ(LogText(),
              "Checking registry for current CD:  3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_CURRENT_USER\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_LOCAL_MACHINE\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_CURRENT_USER\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.10\\CD Information\\3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_LOCAL_MACHINE\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.10\\CD Information\\3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_CURRENT_USER\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.00\\CD Information\\3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_LOCAL_MACHINE\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.00\\CD Information\\3A5B1C02\r\n"
              "Current CD not in registry:  3A5B1C02\r\n");
    // Nothing entered: no record is created.
    Save();
    EXPECT_FALSE(registry.HasKey(RecordPath(CurrentDiscKey)));
}

TEST_F(DiscRegistryTest, RecordLoadsTextsByTrackNumber) {
    InsertDiscOfTracks(5);
    PrepareEmptyRecord();
    const std::string path = RecordPath(CurrentDiscKey);
    registry.PutText(path, "Artist", "The Quartet");
    registry.PutText(path, "Title", "Late Sessions");
    registry.PutText(path, "Track #2", "Second");
    registry.PutText(path, "Track #5", "Fifth");
    registry.PutText(path, "Track #6", "No such track");
    EXPECT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().artist, "The Quartet");
    EXPECT_EQ(DiscInfo().title, "Late Sessions");
    EXPECT_EQ(DiscInfo().trackTitles, (Titles{std::nullopt, "Second", std::nullopt, std::nullopt, "Fifth"}));
    EXPECT_TRUE(DiscInfo().program.empty());
    EXPECT_EQ(LogText(),
              "Checking registry for current CD:  3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_CURRENT_USER\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02\r\n"
              "Checking for CD under key: \r\n  HKEY_LOCAL_MACHINE\\ "
              "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02\r\n"
              "Current CD found in registry:  3A5B1C02\r\n");

    // Saved back: exactly the two track values, and the query arguments added.
    Save();
    EXPECT_EQ(StoredNames(CurrentDiscKey),
              (std::vector<std::string>{"artist", "cddbid", "title", "track #2", "track #5", "track #6"}));
    EXPECT_EQ(StoredText(path, "Track #5"), "Fifth");
}

TEST_F(DiscRegistryTest, OversizedTextsStayInsideTheirFields) {
    const std::string path = RecordPath(CurrentDiscKey);
    registry.PutValue(path, "Artist", RegistryText, std::string(257, 'a').data(), 257);
    registry.PutValue(path, "Title", RegistryBinary, "binary", 6);
    registry.PutValue(path, "Track #1", RegistryText, std::string(400, 't').data(), 400);
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(std::string(DiscInfo().artist), std::string(256, 'a'));
    EXPECT_EQ(DiscInfo().title, "binary");
    // A longer text is read and cut to the field, not left unread.
    EXPECT_EQ(DiscInfo().trackTitles[0], std::string(256, 't'));
}

TEST_F(DiscRegistryTest, OlderRecordWithATextLongerThanItsFieldIsMovedNotLost) {
    // An older version stored a 300-character artist and nothing else.
    const std::string oldPath = RecordPath(Disc210Key);
    registry.PutText(oldPath, "Artist", std::string(300, 'q'));
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(std::string(DiscInfo().artist), std::string(256, 'q'));
    Save();
    EXPECT_FALSE(registry.HasKey(oldPath));
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Artist"), std::string(256, 'q'));
}

TEST_F(DiscRegistryTest, StoredProgramsLoadByTheirRules) {
    const struct {
        const char* what;
        std::string program;  // "<none>": the value is missing
        std::int64_t count;   // -1: missing
        Numbers expected;
    } cases[] = {
        {"natural order", "1 2 3", 3, {}},
        {"real order", "3 1 2", 3, {3, 1, 2}},
        {"too long for its count", "3 1 2 3 1 2", 2, {}},  // more than 2 x 3 + 2 bytes
        {"count cuts the list", "3 1 2", 2, {3, 1}},
        {"list shorter than the count", "2 3", 5, {2, 3}},
        {"leading blank", " 3 1", 2, {}},
        {"double blank", "3  1 2", 3, {3}},
        {"track the disc lacks", "3 7 1", 3, {3, 1}},
        {"count of zero", "3 1 2", 0, {}},
        {"negative count", "3 1 2", -5, {}},
        {"count without program", "<none>", 3, {}},
        {"program without count", "3 1 2", -1, {}},
        {"huge count", "2 1", 0x7fffffff, {2, 1}},
    };
    for (const auto& c : cases) {
        registry.DeleteKey(RegistryLocalMachine, RecordPath(CurrentDiscKey).c_str());
        const std::string path = RecordPath(CurrentDiscKey);
        registry.PutKey(path);
        if (c.program != "<none>") registry.PutText(path, "Program", c.program);
        if (c.count != -1) registry.PutDword(path, "ProgramCount", static_cast<std::uint32_t>(c.count));
        PrepareEmptyRecord();
        EXPECT_EQ(LoadDiscFromRegistry(), 1) << c.what;
        EXPECT_EQ(DiscInfo().program, c.expected) << c.what;
        EXPECT_EQ(DiscInfo().programCount(), static_cast<std::int32_t>(c.expected.size())) << c.what;
    }
}

TEST_F(DiscRegistryTest, NaturalOrderIsDeletedByTheNextSave) {
    const std::string path = RecordPath(CurrentDiscKey);
    registry.PutText(path, "Artist", "Someone");
    registry.PutText(path, "Program", "1 2 3");
    registry.PutDword(path, "ProgramCount", 3);
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    Save();
    EXPECT_EQ(StoredText(path, "Program"), "<missing>");
    EXPECT_FALSE(registry.GetValue(path, "ProgramCount"));
    EXPECT_EQ(StoredText(path, "Artist"), "Someone");
}

TEST_F(DiscRegistryTest, ProgramRoundTrips) {
    DiscInfo().program = {3, 1, 2, 3};
    Save();
    const std::string path = RecordPath(CurrentDiscKey);
    const auto program = registry.GetValue(path, "Program");
    ASSERT_TRUE(program);
    EXPECT_EQ(std::string(program->data.begin(), program->data.end()), std::string("3 1 2 3") + '\0');
    const auto count = registry.GetValue(path, "ProgramCount");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->type, RegistryDword);
    EXPECT_EQ(count->data, (std::vector<unsigned char>{4, 0, 0, 0}));
    // Only the program counts as content: the texts are deleted, the record stays.
    EXPECT_EQ(StoredNames(CurrentDiscKey), (std::vector<std::string>{"cddbid", "program", "programcount"}));

    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().program, (Numbers{3, 1, 2, 3}));
}

TEST_F(DiscRegistryTest, TextsAreWrittenWithTheirTerminator) {
    InsertOneTrackDisc();
    PrepareEmptyRecord();
    DiscInfo().artist = "Ann";
    DiscInfo().trackTitles[0] = "Only";
    Save();
    const std::string path = RecordPath(CurrentDiscKey);
    const auto artist = registry.GetValue(path, "Artist");
    ASSERT_TRUE(artist);
    EXPECT_EQ(artist->type, RegistryText);
    EXPECT_EQ(artist->data.size(), 4u);
    EXPECT_EQ(StoredText(path, "cddbID"), "0200b201 1 150 180");
    EXPECT_EQ(StoredText(path, "Track #1"), "Only");
    EXPECT_EQ(LogText(),
              "Saving CD information to registry.\r\n"
              "Saved CD information under:  HKEY_LOCAL_MACHINE\\"
              "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02\r\n");
}

TEST_F(DiscRegistryTest, RecordUnder210MovesToTheCurrentKey) {
    const std::string oldPath = RecordPath(Disc210Key);
    registry.PutText(oldPath, "Artist", "Older");
    registry.PutText(oldPath, "Track #3", "Third");
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 1);
    Save();
    EXPECT_FALSE(registry.HasKey(oldPath));
    const std::string path = RecordPath(CurrentDiscKey);
    EXPECT_EQ(StoredText(path, "Artist"), "Older");
    EXPECT_EQ(StoredText(path, "Track #3"), "Third");
    EXPECT_EQ(StoredText(path, "cddbID").substr(9), "3 150 18150 36150 722");
}

TEST_F(DiscRegistryTest, EmptiedRecordUnder200IsDeletedAndNothingWritten) {
    const std::string oldPath = RecordPath(Disc200Key);
    registry.PutText(oldPath, "Artist", "Gone soon");
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 2);
    DiscInfo().artist.clear();
    Save();
    EXPECT_FALSE(registry.HasKey(oldPath));
    EXPECT_FALSE(registry.HasKey(RecordPath(CurrentDiscKey)));
}

TEST_F(DiscRegistryTest, OlderRecordStaysWhenTheCurrentKeyIsMissing) {
    registry.DeleteKey(RegistryLocalMachine, CurrentDiscKey);
    const std::string oldPath = RecordPath(Disc210Key);
    registry.PutText(oldPath, "Artist", "Kept");
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    Save();
    EXPECT_EQ(StoredText(oldPath, "Artist"), "Kept");
}

// The registry as a user without write access to one key sees it: that key opens for
// reading, but not for writing (as advapi32 answers for a protected key).
class WriteDeniedRegistry : public RegistryApi {
public:
    WriteDeniedRegistry(RegistryApi& inner, std::string deniedPath) : inner_(inner), denied_(std::move(deniedPath)) {}
    long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        if (parent == RegistryLocalMachine && denied_ == path && (access & RegistryKeySetValue))
            return RegistryAccessDenied;
        return inner_.OpenKey(parent, path, access, key);
    }
    long CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        return inner_.CreateKey(parent, path, access, key);
    }
    long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        return inner_.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        return inner_.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegistryKey key, const char* name) override { return inner_.DeleteValue(key, name); }
    long DeleteKey(RegistryKey parent, const char* path) override { return inner_.DeleteKey(parent, path); }
    long CloseKey(RegistryKey key) override { return inner_.CloseKey(key); }

private:
    RegistryApi& inner_;
    std::string denied_;
};

TEST_F(DiscRegistryTest, RecordUnderAnOlderKeyThatCannotBeWrittenIsSavedUnderTheCurrentKey) {
    const std::string oldPath = RecordPath(Disc200Key);
    registry.PutText(oldPath, "Artist", "Old Artist");
    WriteDeniedRegistry denied(registry, Disc200Key);
    InstallRegistry(&denied);
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    ASSERT_EQ(DiscInfo().foundKeyIndex, 2);
    DiscInfo().artist = "Edited Artist";
    DiscInfo().trackTitles[1] = "Typed";
    Save();
    const std::string path = RecordPath(CurrentDiscKey);
    EXPECT_EQ(StoredText(path, "Artist"), "Edited Artist");
    EXPECT_EQ(StoredText(path, "Track #2"), "Typed");
    // The old record could not be removed; the next start finds the current one first.
    EXPECT_EQ(StoredText(oldPath, "Artist"), "Old Artist");
    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 0);
    EXPECT_EQ(DiscInfo().artist, "Edited Artist");
    InstallRegistry(&registry);
}

TEST_F(DiscRegistryTest, ClearedTitleIsRemoved) {
    const std::string path = RecordPath(CurrentDiscKey);
    registry.PutText(path, "Title", "T");
    registry.PutText(path, "Track #2", "Two");
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    DiscInfo().trackTitles[1].reset();
    Save();
    EXPECT_EQ(StoredNames(CurrentDiscKey), (std::vector<std::string>{"cddbid", "title"}));
}

TEST_F(DiscRegistryTest, RunningLookupNeverCostsAStoredRecord) {
    const std::string path = RecordPath(CurrentDiscKey);
    registry.PutText(path, "Artist", "Stored");
    registry.PutText(path, "Track #1", "One");
    // Texts emptied while a lookup runs: the record stays as it is.
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    DiscInfo().artist.clear();
    DiscInfo().trackTitles[0].reset();
    DiscInfo().lookupRunning = true;
    Save();
    EXPECT_EQ(StoredText(path, "Artist"), "Stored");
    EXPECT_EQ(StoredText(path, "Track #1"), "One");

    // Texts present while a lookup runs: they are written.
    DiscInfo().artist = "Current";
    Save();
    EXPECT_EQ(StoredText(path, "Artist"), "Current");
    EXPECT_EQ(StoredText(path, "Track #1"), "<missing>");
}

TEST_F(DiscRegistryTest, SaveWaitsForTheLock) {
    DiscInfo().artist = "Locked";
    LockDiscInfo();
    std::thread saver([] { SaveDiscToRegistry(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(registry.HasKey(RecordPath(CurrentDiscKey)));
    UnlockDiscInfo();
    saver.join();
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Artist"), "Locked");
}

} // namespace
