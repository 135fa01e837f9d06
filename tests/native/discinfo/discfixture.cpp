#include "discfixture.h"

#include <cstdio>
#include <fstream>

#include "log/logfile.h"
#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"
#include "platform/profilefile.h"
#include "platform/uinotify.h"

const char* const CurrentDiscKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information";
const char* const Disc210Key = "SOFTWARE\\Kestrow Software\\Tunova\\2.10\\CD Information";
const char* const Disc200Key = "SOFTWARE\\Kestrow Software\\Tunova\\2.00\\CD Information";

void DiscInfoTest::SetUp() {
    InstallRegistry(&registry);
    InstallProfileFile(nullptr);
    InstallWindowMessageSender(nullptr);
    SetDiscLookupHooks(DiscLookupHooks{});
    ResetDiscInfo();
    ProgramOptions() = ProgramOptionsRecord{};
    InsertDiscOfTracks(3);
    logPath = ::testing::TempDir() + "discinfo_log_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::remove(logPath.c_str());
    SetLogFilePath(logPath);
}

void DiscInfoTest::TearDown() {
    if (userKeysForbidden) {
        EXPECT_EQ(registry.SubKeyNames("", RegistryCurrentUser), std::vector<std::string>{});
    }
    SetLogFilePath("");
    std::remove(logPath.c_str());
    ResetDiscInfo();
    InstallRegistry(nullptr);
    InstallProfileFile(nullptr);
    InstallWindowMessageSender(nullptr);
    SetDiscLookupHooks(DiscLookupHooks{});
}

std::string DiscInfoTest::LogText() const {
    std::ifstream file(logPath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string DiscInfoTest::RecordPath(const char* versionKey) const {
    return std::string(versionKey) + "\\" + IdentityKey();
}

std::string DiscInfoTest::StoredText(const std::string& path, const std::string& name) const {
    const auto value = registry.GetValue(path, name);
    if (!value) return "<missing>";
    std::string text(value->data.begin(), value->data.end());
    return text.substr(0, text.find('\0'));
}

void DiscInfoTest::PrepareEmptyRecord() {
    ResetDiscInfo();
    DiscInfo().trackTitles.assign(static_cast<std::size_t>(CdDevice().trackCount), std::nullopt);
}
