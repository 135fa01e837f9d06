// The store against the real registry: the advapi32 adapter, with the program's
// HKEY_LOCAL_MACHINE paths redirected to a scratch key that the tests delete again,
// so that an installation in the same prefix is left alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"
#include "discinfo/options.h"
#include "platform/registry.h"
#include "tests/support/win32/scratchregistry.h"

namespace {

const char* const ScratchPath = "Software\\Tunova Test\\discinfo";
const char* const UserScratchPath = "Software\\Tunova Test\\discinfo user";
const char* const TunovaKey = "SOFTWARE\\Kestrow Software\\Tunova";
const char* const CurrentDiscKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information";
const char* const Disc210Key = "SOFTWARE\\Kestrow Software\\Tunova\\2.10\\CD Information";

class AdvapiStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRegistry(nullptr);
        DeleteKeyTree(HKEY_CURRENT_USER, ScratchPath);
        DeleteKeyTree(HKEY_CURRENT_USER, UserScratchPath);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ScratchPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, UserScratchPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &userRoot, nullptr),
                  ERROR_SUCCESS);
        scratch = new ScratchRegistry(Registry(), reinterpret_cast<RegistryKey>(root),
                                      reinterpret_cast<RegistryKey>(userRoot));
        InstallRegistry(scratch);
        ResetDiscInfo();
        ProgramOptions() = ProgramOptionsRecord{};
    }
    void TearDown() override {
        InstallRegistry(nullptr);
        delete scratch;
        RegCloseKey(root);
        RegCloseKey(userRoot);
        DeleteKeyTree(HKEY_CURRENT_USER, ScratchPath);
        DeleteKeyTree(HKEY_CURRENT_USER, UserScratchPath);
        ResetDiscInfo();
    }
    HKEY Create(const std::string& path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        keys.push_back(key);
        return key;
    }
    // The raw stored bytes, or "<missing>"; under the machine's scratch root unless told.
    std::string Stored(const std::string& path, const char* name, DWORD* type = nullptr, HKEY under = nullptr) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(under ? under : root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
        std::vector<char> data(1024);
        DWORD size = static_cast<DWORD>(data.size());
        const LONG result = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(data.data(), size) : "<missing>";
    }
    void CloseKeys() {
        for (HKEY key : keys) RegCloseKey(key);
        keys.clear();
    }
    HKEY root = nullptr;
    HKEY userRoot = nullptr;
    ScratchRegistry* scratch = nullptr;
    std::vector<HKEY> keys;
};

void InsertThreeTrackDisc() {
    CdDeviceRecord& device = CdDevice();
    device.trackCount = 3;
    device.mediaIdentity = 0x3A5B1C02;
    device.toc.assign(4, TrackToc{});
    const std::int32_t starts[] = {150, 18150, 36150, 54150};
    for (int i = 0; i < 4; ++i) {
        device.toc[i].type = TrackAudio;
        device.toc[i].number = i + 1;
        device.toc[i].startMinute = starts[i] / FramesPerMinute;
        device.toc[i].startSecond = (starts[i] / FramesPerSecond) % 60;
        device.toc[i].startFrame = starts[i] % FramesPerSecond;
    }
    DiscInfo().trackTitles.assign(3, std::nullopt);
}

TEST_F(AdvapiStoreTest, TextQueriesFollowTheSizeRules) {
    HKEY key = Create("raw");
    // The system counts a terminator the caller forgot when one follows the data, so
    // the byte after the value must not be NUL for it to stay unterminated.
    const std::string text(258, 'a');
    ASSERT_EQ(RegSetValueExA(key, "NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()), 257), ERROR_SUCCESS);
    RegistryKey opened = 0;
    ASSERT_EQ(Registry().OpenKey(RegistryLocalMachine, "raw", RegistryKeyRead, &opened), RegistrySuccess);
    std::vector<char> buffer(300, '#');
    std::uint32_t size = 257;
    std::uint32_t type = 0;
    EXPECT_EQ(Registry().QueryValue(opened, "NoNul", &type, buffer.data(), &size), RegistrySuccess);
    EXPECT_EQ(type, RegistryText);
    EXPECT_EQ(size, 257u);
    EXPECT_EQ(buffer[257], '#');  // no room, no terminator
    size = 258;
    EXPECT_EQ(Registry().QueryValue(opened, "NoNul", nullptr, buffer.data(), &size), RegistrySuccess);
    EXPECT_EQ(buffer[257], '\0');  // room: the system adds one
    size = 100;
    EXPECT_EQ(Registry().QueryValue(opened, "NoNul", nullptr, buffer.data(), &size), RegistryMoreData);
    EXPECT_EQ(size, 257u);
    size = 0;
    EXPECT_EQ(Registry().QueryValue(opened, "NoNul", nullptr, nullptr, &size), RegistrySuccess);
    EXPECT_EQ(size, 257u);
    // A terminator that follows the counted bytes is counted too.
    ASSERT_EQ(RegSetValueExA(key, "Counted", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    size = 0;
    EXPECT_EQ(Registry().QueryValue(opened, "Counted", nullptr, nullptr, &size), RegistrySuccess);
    EXPECT_EQ(size, 4u);
    Registry().CloseKey(opened);
    CloseKeys();
}

TEST_F(AdvapiStoreTest, OptionsRoundTrip) {
    Create(std::string(TunovaKey) + "\\2.20\\Tunova");
    HKEY cddb = Create(std::string(TunovaKey) + "\\2.20\\cddb");
    for (const char* name : {"cddbServer1", "cddbServer2", "cddbServer4"})
        RegSetValueExA(cddb, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(name), std::strlen(name) + 1);
    CloseKeys();

    ProgramOptionsRecord& o = ProgramOptions();
    o.StopAtExit = 0;
    o.IntroPlayStart = -1;
    o.ControlsX = 300;
    o.cddbRootDirectory = "Z:\\work\\cddb";
    o.smtpServerName = "mail.example.net";
    ASSERT_EQ(SaveProgramOptions(), 1);

    DWORD type = 0;
    const std::string optionsPath = std::string(TunovaKey) + "\\2.20\\Tunova";
    EXPECT_EQ(Stored(optionsPath, "cddbRootDirectory", &type).size(), 260u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Stored(optionsPath, "smtpServerName").size(), 80u);
    EXPECT_EQ(Stored(optionsPath, "ControlsX", &type).size(), 4u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

    ProgramOptions() = ProgramOptionsRecord{};
    LoadProgramOptions();
    EXPECT_EQ(o.StopAtExit, 0);
    EXPECT_EQ(o.IntroPlayStart, -1);
    EXPECT_EQ(o.IntroPlayLength, 10);
    EXPECT_EQ(o.ControlsX, 300);
    EXPECT_EQ(o.cddbRootDirectory, "Z:\\work\\cddb");
    EXPECT_EQ(o.smtpServerName, "mail.example.net");
    EXPECT_EQ(o.cddbServerList, (std::vector<std::string>{"cddbServer1", "cddbServer2"}));
}

TEST_F(AdvapiStoreTest, OversizedAndBinaryValuesStayInsideTheirFields) {
    HKEY options = Create(std::string(TunovaKey) + "\\2.20\\Tunova");
    const std::string proxy(81, 'p');  // 80 bytes stored, see above
    RegSetValueExA(options, "cddbProxyName", 0, REG_SZ, reinterpret_cast<const BYTE*>(proxy.data()), 80);
    RegSetValueExA(options, "smtpServerName", 0, REG_BINARY, reinterpret_cast<const BYTE*>("smtp"), 4);
    const WORD shortNumber = 1;
    RegSetValueExA(options, "Shuffle", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&shortNumber), 2);
    HKEY record = Create(std::string(CurrentDiscKey) + "\\3A5B1C02");
    const std::string artist(258, 'a');
    RegSetValueExA(record, "Artist", 0, REG_SZ, reinterpret_cast<const BYTE*>(artist.data()), 257);
    RegSetValueExA(record, "Title", 0, REG_BINARY, reinterpret_cast<const BYTE*>("Binary title"), 12);
    // An older version's title longer than the field: read and cut, not left unread.
    const std::string longTitle(300, 't');
    RegSetValueExA(record, "Track #1", 0, REG_SZ, reinterpret_cast<const BYTE*>(longTitle.c_str()), 301);
    CloseKeys();

    ProgramOptions().smtpServerName = "previous text that is longer";
    LoadProgramOptions();
    EXPECT_EQ(ProgramOptions().cddbProxyName, std::string(79, 'p'));
    EXPECT_EQ(ProgramOptions().smtpServerName, "smtp");
    EXPECT_EQ(ProgramOptions().Shuffle, 0);

    InsertThreeTrackDisc();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(std::string(DiscInfo().artist), std::string(256, 'a'));
    EXPECT_EQ(DiscInfo().title, "Binary title");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>(std::string(256, 't')));
}

TEST_F(AdvapiStoreTest, DiscRecordMovesFromAnOlderKeyAndRoundTrips) {
    Create(CurrentDiscKey);
    HKEY old = Create(std::string(Disc210Key) + "\\3A5B1C02");
    RegSetValueExA(old, "Artist", 0, REG_SZ, reinterpret_cast<const BYTE*>("Older"), 6);
    RegSetValueExA(old, "Track #2", 0, REG_SZ, reinterpret_cast<const BYTE*>("Second"), 7);
    RegSetValueExA(old, "Program", 0, REG_SZ, reinterpret_cast<const BYTE*>("3 1 2"), 6);
    const DWORD three = 3;
    RegSetValueExA(old, "ProgramCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4);
    CloseKeys();

    InsertThreeTrackDisc();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 1);
    EXPECT_EQ(DiscInfo().program, (std::vector<std::int32_t>{3, 1, 2}));
    DiscInfo().trackTitles[2] = "Third";
    SaveDiscToRegistry();

    const std::string path = std::string(CurrentDiscKey) + "\\3A5B1C02";
    EXPECT_EQ(Stored(std::string(Disc210Key) + "\\3A5B1C02", "Artist"), "<missing>");
    EXPECT_EQ(Stored(path, "Artist"), std::string("Older") + '\0');
    EXPECT_EQ(Stored(path, "Track #3"), std::string("Third") + '\0');
    EXPECT_EQ(Stored(path, "Program"), std::string("3 1 2") + '\0');
    EXPECT_EQ(Stored(path, "cddbID"), std::string("1802d003 3 150 18150 36150 722") + '\0');

    ResetDiscInfo();
    InsertThreeTrackDisc();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 0);
    EXPECT_EQ(DiscInfo().artist, "Older");
    EXPECT_EQ(DiscInfo().trackTitles,
              (std::vector<std::optional<std::string>>{std::nullopt, "Second", "Third"}));

    // Emptied: the record goes.
    DiscInfo().artist.clear();
    DiscInfo().trackTitles.assign(3, std::nullopt);
    DiscInfo().program.clear();
    SaveDiscToRegistry();
    HKEY gone = nullptr;
    EXPECT_NE(RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS);
}

// Japanese, Cyrillic and Greek titles, and a letter beyond the 16-bit plane (a
// surrogate pair in UTF-16).
const char* const Japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C";  // 日本語の歌
const char* const Cyrillic = "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE";                          // Кино
const char* const Greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";                 // Ελλάδα
const char* const Note = "\xF0\x9D\x84\x9E Clef";                                          // 𝄞 Clef

// The stored value as the system keeps it: UTF-16 units, without the terminator.
std::wstring StoredWide(HKEY under, const std::string& path, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(under, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<missing>";
    std::vector<wchar_t> data(2048);
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    const LONG result = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return L"<missing>";
    std::wstring text(data.data(), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

TEST_F(AdvapiStoreTest, NewRecordKeepsEveryLetterAsUtf16) {
    Create(CurrentDiscKey);
    CloseKeys();
    InsertThreeTrackDisc();
    std::string longJapanese;
    for (int i = 0; i < 256; ++i) longJapanese += "\xE3\x81\x82";  // あ
    DiscInfo().artist = Cyrillic;
    DiscInfo().title = longJapanese;
    DiscInfo().trackTitles = {std::string(Japanese), std::string(Greek), std::string(Note)};
    SaveDiscToRegistry();

    // The system holds the letters themselves, as any program reading it wide sees them.
    const std::string path = std::string(CurrentDiscKey) + "\\3A5B1C02";
    EXPECT_EQ(StoredWide(root, path, L"Artist"), L"\x041A\x0438\x043D\x043E");
    EXPECT_EQ(StoredWide(root, path, L"Track #1"), L"\x65E5\x672C\x8A9E\x306E\x6B4C");
    EXPECT_EQ(StoredWide(root, path, L"Track #3"), L"\xD834\xDD1E Clef");
    EXPECT_EQ(StoredWide(root, path, L"Title"), std::wstring(256, L'\x3042'));

    ResetDiscInfo();
    InsertThreeTrackDisc();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().artist, Cyrillic);
    EXPECT_EQ(DiscInfo().title, longJapanese) << "256 Japanese letters fit as 256 English ones do";
    EXPECT_EQ(DiscInfo().trackTitles,
              (std::vector<std::optional<std::string>>{std::string(Japanese), std::string(Greek), std::string(Note)}));
}

TEST_F(AdvapiStoreTest, TextThatIsNoUtf8IsRefusedAndNothingIsStored) {
    Create("raw");
    CloseKeys();
    RegistryKey opened = 0;
    ASSERT_EQ(Registry().OpenKey(RegistryLocalMachine, "raw", RegistryKeyWrite, &opened), RegistrySuccess);
    EXPECT_EQ(Registry().SetValue(opened, "Latin1", RegistryText, "Caf\xE9", 5), RegistryNotText);
    EXPECT_EQ(Registry().SetValue(opened, "Greek", RegistryText, Greek, static_cast<std::uint32_t>(std::strlen(Greek) + 1)),
              RegistrySuccess);
    // Binary data is no text and passes as it is.
    EXPECT_EQ(Registry().SetValue(opened, "Bytes", RegistryBinary, "\xE9\xFF", 2), RegistrySuccess);
    Registry().CloseKey(opened);
    EXPECT_EQ(Stored("raw", "Latin1"), "<missing>");
    EXPECT_EQ(StoredWide(root, "raw", L"Greek"), L"\x0395\x03BB\x03BB\x03AC\x03B4\x03B1");
    EXPECT_EQ(Stored("raw", "Bytes"), "\xE9\xFF");
}

// Leaves a key readable, and deletable by the tests, but no longer changeable: the
// access a standard user has to the machine's keys, enforced by the system itself.
bool MakeReadOnly(HKEY under, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(under, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    alignas(DWORD) unsigned char aclBuffer[256];
    ACL* acl = reinterpret_cast<ACL*>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE | WRITE_DAC, everyone);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    const LONG result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    FreeSid(everyone);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// A standard user: the machine's keys refuse every change, checked by the system.
TEST_F(AdvapiStoreTest, StandardUserKeepsOptionsAndRecordsUnderTheCurrentUser) {
    const std::string optionsPath = std::string(TunovaKey) + "\\2.20\\Tunova";
    const std::string oldRecord = std::string(Disc210Key) + "\\3A5B1C02";
    const DWORD two = 2;
    RegSetValueExA(Create(optionsPath), "TimeDisplayMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), 4);
    RegSetValueExA(Create(std::string(TunovaKey) + "\\2.20\\cddb"), "cddbServer1", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>("cddb.example.org"), 17);
    Create(CurrentDiscKey);
    RegSetValueExA(Create(oldRecord), "Artist", 0, REG_SZ, reinterpret_cast<const BYTE*>("Older"), 6);
    CloseKeys();
    for (const std::string& path : {std::string("SOFTWARE"), std::string("SOFTWARE\\Kestrow Software"),
                                    std::string(TunovaKey), std::string(TunovaKey) + "\\2.20", optionsPath,
                                    std::string(TunovaKey) + "\\2.20\\cddb", std::string(CurrentDiscKey),
                                    std::string(TunovaKey) + "\\2.10", std::string(Disc210Key), oldRecord})
        ASSERT_TRUE(MakeReadOnly(root, path)) << path;
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExA(root, optionsPath.c_str(), 0, KEY_WRITE, &probe), ERROR_ACCESS_DENIED);

    LoadProgramOptions();
    EXPECT_EQ(ProgramOptions().TimeDisplayMode, 2);
    ProgramOptions().Shuffle = 1;
    ASSERT_EQ(SaveProgramOptions(), 1);
    EXPECT_EQ(Stored(optionsPath, "Shuffle", nullptr, userRoot), std::string("\1\0\0\0", 4));
    EXPECT_EQ(Stored(optionsPath, "Shuffle"), "<missing>");
    EXPECT_EQ(Stored(std::string(TunovaKey) + "\\2.20\\cddb", "cddbServer1", nullptr, userRoot), "<missing>");
    ProgramOptions() = ProgramOptionsRecord{};
    LoadProgramOptions();
    EXPECT_EQ(ProgramOptions().Shuffle, 1);
    EXPECT_EQ(ProgramOptions().TimeDisplayMode, 2);
    EXPECT_EQ(ProgramOptions().cddbServerList, std::vector<std::string>{"cddb.example.org"});

    // The older record is found, saved under the user's current key, and read from
    // there next time; the machine's copy could not be removed and is still there.
    InsertThreeTrackDisc();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 1);
    DiscInfo().trackTitles[2] = "Third";
    SaveDiscToRegistry();
    const std::string userRecord = std::string(CurrentDiscKey) + "\\3A5B1C02";
    EXPECT_EQ(Stored(userRecord, "Track #3", nullptr, userRoot), std::string("Third") + '\0');
    EXPECT_EQ(Stored(oldRecord, "Artist"), std::string("Older") + '\0');
    EXPECT_EQ(Stored(userRecord, "Artist"), "<missing>");
    ResetDiscInfo();
    InsertThreeTrackDisc();
    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().foundKeyIndex, 0);
    EXPECT_EQ(DiscInfo().foundKeyRoot, RegistryCurrentUser);
    EXPECT_EQ(DiscInfo().artist, "Older");
    EXPECT_EQ(DiscInfo().trackTitles[2], std::optional<std::string>("Third"));
}

} // namespace
