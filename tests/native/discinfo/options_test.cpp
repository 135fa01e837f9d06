#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "discfixture.h"
#include "discinfo/options.h"

namespace {

const char* const OptionsKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\Tunova";
const char* const CddbKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\cddb";

const std::vector<std::string> ValueOrder = {
    "EjectAtEnd", "EjectAtExit", "StopAtExit", "Shuffle", "IntroPlayStart", "IntroPlayLength", "RepeatAll",
    "TimeDisplayMode", "ControlsVisibleAtStart", "ControlsOnTop", "ControlsX", "ControlsY", "cddbQueryLocal",
    "cddbRootDirectory", "cddbQueryServerAtStartup", "cddbUseProxy", "cddbServerNum", "cddbProxyName",
    "cddbProxyPort", "smtpReturnAddress", "smtpServerName", "ResumeWhereStopped",
    "DigitalPlayback", "MusicBrainzQuery", "MusicBrainzServer"};

// Notes the names of the values read and written, in order.
class RecordingRegistry : public MemoryRegistry {
public:
    long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data, std::uint32_t* size) override {
        // A text is asked for its size before it is read: one entry per value.
        if (queried.empty() || queried.back() != name) queried.push_back(name);
        return MemoryRegistry::QueryValue(key, name, type, data, size);
    }
    long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        written.push_back(name);
        return MemoryRegistry::SetValue(key, name, type, data, size);
    }
    std::vector<std::string> queried;
    std::vector<std::string> written;
};

class OptionsTest : public DiscInfoTest {};

TEST_F(OptionsTest, MissingKeysLeaveTheDefaultsAndSaveNothing) {
    registry.PutText(CddbKey, "cddbServer1", "never read");
    LoadProgramOptions();
    const ProgramOptionsRecord& o = ProgramOptions();
    EXPECT_EQ(o.StopAtExit, 1);
    EXPECT_EQ(o.IntroPlayLength, 10);
    // A new user's unknown discs are looked up at MusicBrainz with nothing set up.
    EXPECT_EQ(o.MusicBrainzQuery, 1);
    EXPECT_EQ(o.MusicBrainzServer, "https://musicbrainz.org");
    for (std::int32_t value : {o.EjectAtEnd, o.EjectAtExit, o.Shuffle, o.IntroPlayStart, o.RepeatAll,
                               o.TimeDisplayMode, o.ControlsVisibleAtStart, o.ControlsOnTop, o.ControlsX, o.ControlsY,
                               o.cddbQueryLocal, o.cddbQueryServerAtStartup, o.cddbUseProxy, o.cddbServerNum,
                               o.cddbProxyPort})
        EXPECT_EQ(value, 0);
    for (const char* text : {o.cddbRootDirectory, o.cddbProxyName, o.smtpReturnAddress, o.smtpServerName,
                             o.smtpSubmitAddress})
        EXPECT_STREQ(text, "");
    EXPECT_TRUE(o.cddbServerList.empty());
    EXPECT_TRUE(o.cddbCategoryList.empty());

    EXPECT_EQ(SaveProgramOptions(), 0);
    EXPECT_FALSE(registry.HasKey(OptionsKey));
    EXPECT_EQ(LogText(), "Loading program options.\r\nSaving program options to registry.\r\n");
}

TEST_F(OptionsTest, ValuesAreReadInOrderAndMissingOnesKeepTheirDefault) {
    RecordingRegistry recording;
    InstallRegistry(&recording);
    recording.PutDword(OptionsKey, "Shuffle", 1);
    recording.PutDword(OptionsKey, "IntroPlayStart", static_cast<std::uint32_t>(-1));
    recording.PutDword(OptionsKey, "ControlsX", 640);
    recording.PutText(OptionsKey, "cddbRootDirectory", "Z:\\cddb");
    recording.PutText(OptionsKey, "smtpServerName", "mail.example.net");
    recording.PutDword(OptionsKey, "MusicBrainzQuery", 0);
    recording.PutText(OptionsKey, "MusicBrainzServer", "https://mirror.example.org:8443");
    // A number stored in two bytes does not fit a 4-byte field.
    recording.PutValue(OptionsKey, "StopAtExit", RegistryDword, "\x00\x00", 2);
    LoadProgramOptions();
    const ProgramOptionsRecord& o = ProgramOptions();
    EXPECT_EQ(o.Shuffle, 1);
    EXPECT_EQ(o.IntroPlayStart, -1);
    EXPECT_EQ(o.ControlsX, 640);
    EXPECT_EQ(o.StopAtExit, 1);
    EXPECT_EQ(o.IntroPlayLength, 10);
    EXPECT_STREQ(o.cddbRootDirectory, "Z:\\cddb");
    EXPECT_STREQ(o.smtpServerName, "mail.example.net");
    EXPECT_EQ(o.MusicBrainzQuery, 0);
    EXPECT_EQ(o.MusicBrainzServer, "https://mirror.example.org:8443");
    EXPECT_EQ(recording.queried, ValueOrder);
}

TEST_F(OptionsTest, ListsEndAtTheFirstMissingNumber) {
    registry.PutKey(OptionsKey);
    registry.PutText(CddbKey, "smtpSubmitAddress", "submit@cddb.example.org");
    registry.PutText(CddbKey, "cddbServer1", "127.0.0.1:8880 Local test server");
    registry.PutText(CddbKey, "cddbServer2", "cddb.example.org:888 Public");
    registry.PutText(CddbKey, "cddbServer4", "never reached");
    registry.PutText(CddbKey, "cddbCategory1", "blues - Blues");
    registry.PutText(CddbKey, "cddbCategory2", std::string(255, 'x'));
    registry.PutText(CddbKey, "cddbCategory3", std::string(256, 'y'));  // 257 bytes: too long
    registry.PutText(CddbKey, "cddbCategory4", "never reached");
    LoadProgramOptions();
    const ProgramOptionsRecord& o = ProgramOptions();
    EXPECT_STREQ(o.smtpSubmitAddress, "submit@cddb.example.org");
    EXPECT_EQ(o.cddbServerList,
              (std::vector<std::string>{"127.0.0.1:8880 Local test server", "cddb.example.org:888 Public"}));
    EXPECT_EQ(o.cddbCategoryList, (std::vector<std::string>{"blues - Blues", std::string(255, 'x')}));
}

TEST_F(OptionsTest, SaveWritesEveryValueInOrderWithTheWholeTextFields) {
    RecordingRegistry recording;
    InstallRegistry(&recording);
    recording.PutKey(OptionsKey);
    ProgramOptionsRecord& o = ProgramOptions();
    o.EjectAtEnd = 1;
    o.IntroPlayStart = -1;
    o.TimeDisplayMode = 3;
    o.ControlsY = -20;
    o.cddbProxyPort = 8080;
    std::strcpy(o.cddbRootDirectory, "C:\\cddb");
    std::strcpy(o.cddbProxyName, "proxy");
    std::strcpy(o.smtpReturnAddress, "me@example.net");
    o.cddbServerList = {"not saved"};
    EXPECT_EQ(SaveProgramOptions(), 1);
    EXPECT_EQ(recording.written, ValueOrder);

    for (const std::string& name : ValueOrder) {
        const auto value = recording.GetValue(OptionsKey, name);
        ASSERT_TRUE(value) << name;
        const bool isField = name == "cddbRootDirectory" || name == "cddbProxyName" ||
                             name == "smtpReturnAddress" || name == "smtpServerName";
        const bool isText = isField || name == "MusicBrainzServer";
        EXPECT_EQ(value->type, isText ? RegistryText : RegistryDword) << name;
        // The fields' texts whole, the server's address with its terminator.
        const std::size_t size = name == "cddbRootDirectory" ? 260u
                                 : isField                   ? 80u
                                 : isText                    ? sizeof "https://musicbrainz.org"
                                                             : 4u;
        EXPECT_EQ(value->data.size(), size) << name;
    }
    EXPECT_FALSE(recording.HasKey(CddbKey));

    // Read back into fresh options, everything returns.
    ProgramOptions() = ProgramOptionsRecord{};
    LoadProgramOptions();
    EXPECT_EQ(o.EjectAtEnd, 1);
    EXPECT_EQ(o.IntroPlayStart, -1);
    EXPECT_EQ(o.TimeDisplayMode, 3);
    EXPECT_EQ(o.ControlsY, -20);
    EXPECT_EQ(o.cddbProxyPort, 8080);
    EXPECT_EQ(o.StopAtExit, 1);
    EXPECT_STREQ(o.cddbRootDirectory, "C:\\cddb");
    EXPECT_STREQ(o.cddbProxyName, "proxy");
    EXPECT_STREQ(o.smtpReturnAddress, "me@example.net");
    EXPECT_STREQ(o.smtpServerName, "");
}

} // namespace
