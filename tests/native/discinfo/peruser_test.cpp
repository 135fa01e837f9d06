// A standard user, who may read the machine's keys but not write them: options and disc
// records go under the same paths in HKEY_CURRENT_USER, are read from there first, and
// nothing the installation put under HKEY_LOCAL_MACHINE is changed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "discfixture.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"
#include "discinfo/options.h"

namespace {

const char* const OptionsKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\Tunova";
const char* const CddbKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\cddb";

class PerUserTest : public DiscInfoTest {
protected:
    void SetUp() override {
        DiscInfoTest::SetUp();
        userKeysForbidden = false;
        // What the installation leaves: the version keys and the cddb lists.
        for (const char* key : {CurrentDiscKey, Disc210Key, Disc200Key}) registry.PutKey(key);
        registry.PutDword(OptionsKey, "TimeDisplayMode", 2);
        registry.PutDword(OptionsKey, "ControlsX", 5);
        registry.PutText(CddbKey, "cddbServer1", "cddb.example.org:8880");
        PrepareEmptyRecord();
    }
    void Save() {
        SaveDiscToRegistry();
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
};

TEST_F(PerUserTest, OptionsAreSavedPerUserAndReadOverTheMachines) {
    registry.RefuseWrites(RegistryLocalMachine);
    LoadProgramOptions();
    ProgramOptionsRecord& o = ProgramOptions();
    EXPECT_EQ(o.TimeDisplayMode, 2);
    o.Shuffle = 1;
    o.ControlsX = 300;
    std::strcpy(o.smtpServerName, "mail.example.net");
    EXPECT_EQ(SaveProgramOptions(), 1);
    EXPECT_NE(LogText().find("Saving program options to registry.\r\n"
                             "Saved program options under:  HKEY_CURRENT_USER\\"
                             "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\Tunova\r\n"),
              std::string::npos);

    // The machine's key is as the installation left it; the lists were not copied.
    EXPECT_EQ(registry.ValueNames(OptionsKey), (std::vector<std::string>{"controlsx", "timedisplaymode"}));
    EXPECT_EQ(registry.GetValue(OptionsKey, "ControlsX")->data[0], 5);
    EXPECT_EQ(registry.ValueNames(OptionsKey, RegistryCurrentUser).size(), 25u);  // every option value
    EXPECT_FALSE(registry.HasKey(CddbKey, RegistryCurrentUser));

    // The next run reads the user's values over the machine's; a value the user's key
    // lacks keeps the machine's.
    RegistryKey userKey = 0;
    ASSERT_EQ(registry.OpenKey(RegistryCurrentUser, OptionsKey, RegistryKeyWrite, &userKey), RegistrySuccess);
    registry.DeleteValue(userKey, "TimeDisplayMode");
    registry.CloseKey(userKey);
    ProgramOptions() = ProgramOptionsRecord{};
    LoadProgramOptions();
    EXPECT_EQ(o.Shuffle, 1);
    EXPECT_EQ(o.ControlsX, 300);
    EXPECT_EQ(o.TimeDisplayMode, 2);
    EXPECT_STREQ(o.smtpServerName, "mail.example.net");
    EXPECT_EQ(o.cddbServerList, std::vector<std::string>{"cddb.example.org:8880"});
}

TEST_F(PerUserTest, UsersOwnOptionsStayTheOnesSavedOnceTheMachineIsWritable) {
    // An earlier run without the right left the user's own options; a run with it must
    // not save where the next start would not look first.
    registry.PutDword(OptionsKey, "ControlsX", 300, RegistryCurrentUser);
    LoadProgramOptions();
    ProgramOptions().ControlsX = 400;
    EXPECT_EQ(SaveProgramOptions(), 1);
    EXPECT_EQ(registry.GetValue(OptionsKey, "ControlsX")->data[0], 5);
    ProgramOptions() = ProgramOptionsRecord{};
    LoadProgramOptions();
    EXPECT_EQ(ProgramOptions().ControlsX, 400);
}

TEST_F(PerUserTest, WithoutAnInstallationNothingIsSavedAnywhere) {
    registry.DeleteKey(RegistryLocalMachine, OptionsKey);
    registry.RefuseWrites(RegistryLocalMachine);
    LoadProgramOptions();
    EXPECT_EQ(SaveProgramOptions(), 0);
    EXPECT_EQ(registry.SubKeyNames("", RegistryCurrentUser), std::vector<std::string>{});
}

TEST_F(PerUserTest, NewDiscIsSavedPerUserAndFoundThereNextTime) {
    registry.RefuseWrites(RegistryLocalMachine);
    ASSERT_EQ(LoadDiscFromRegistry(), 0);
    DiscInfo().artist = "Typed Artist";
    DiscInfo().trackTitles[1] = "Typed";
    DiscInfo().program = {3, 1};
    Save();
    EXPECT_FALSE(registry.HasKey(RecordPath(CurrentDiscKey)));
    const std::string path = RecordPath(CurrentDiscKey);
    EXPECT_EQ(registry.ValueNames(path, RegistryCurrentUser),
              (std::vector<std::string>{"artist", "cddbid", "program", "programcount", "track #2"}));
    EXPECT_NE(LogText().find("Saved CD information under:  HKEY_CURRENT_USER\\"
                             "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02\r\n"),
              std::string::npos);

    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyRoot, RegistryCurrentUser);
    EXPECT_EQ(DiscInfo().artist, "Typed Artist");
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3, 1}));

    // Emptied by the user: the user's record goes.
    DiscInfo().artist.clear();
    DiscInfo().trackTitles.assign(3, std::nullopt);
    DiscInfo().program.clear();
    Save();
    EXPECT_FALSE(registry.HasKey(path, RegistryCurrentUser));
}

TEST_F(PerUserTest, MachinesRecordIsEditedIntoTheUsersAndLeftAsItWas) {
    const std::string path = RecordPath(CurrentDiscKey);
    registry.PutText(path, "Artist", "Machine Artist");
    registry.PutText(path, "Track #1", "Machine Track");
    registry.RefuseWrites(RegistryLocalMachine);
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyRoot, RegistryLocalMachine);
    DiscInfo().artist = "Edited Artist";
    Save();
    EXPECT_EQ(StoredText(path, "Artist"), "Machine Artist");
    const auto edited = registry.GetValue(path, "Artist", RegistryCurrentUser);
    ASSERT_TRUE(edited);
    EXPECT_STREQ(reinterpret_cast<const char*>(edited->data.data()), "Edited Artist");

    // A record in both places: the user's is the one read, the machine's stays.
    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyRoot, RegistryCurrentUser);
    EXPECT_EQ(DiscInfo().artist, "Edited Artist");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>("Machine Track"));
}

TEST_F(PerUserTest, OlderRecordMovesToTheUsersCurrentKey) {
    const std::string oldPath = RecordPath(Disc210Key);
    registry.PutText(oldPath, "Artist", "Older");
    registry.RefuseWrites(RegistryLocalMachine);
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 1);
    Save();
    // Not removable from the machine's key; the next start finds the user's first.
    EXPECT_EQ(StoredText(oldPath, "Artist"), "Older");
    EXPECT_TRUE(registry.GetValue(RecordPath(CurrentDiscKey), "cddbID", RegistryCurrentUser));
    PrepareEmptyRecord();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 0);
    EXPECT_EQ(DiscInfo().foundKeyRoot, RegistryCurrentUser);
    EXPECT_EQ(DiscInfo().artist, "Older");
}

} // namespace
