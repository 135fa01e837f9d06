// Files named in any script under Wine: a folder "Musik\Ελληνικά" holding a CD image
// (named in the environment), a local cddb copy, the log file and the drive's trace.
// The letters are in no ANSI code page of this system, so only the wide calls find them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cdaudio/cddevice.h"
#include "cddb/localdb.h"
#include "discinfo/discinfo.h"
#include "log/logfile.h"
#include "log/logmessage.h"
#include "platform/cdaudiodriver.h"
#include "platform/files.h"
#include "platform/virtualcd/virtualcd.h"
#include "platform/win32/commandline.h"
#include "platform/win32/widetext.h"

namespace {

namespace fs = std::filesystem;

const std::string Greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // Ελληνικά
const std::string Album = "\xCE\x86\xCE\xBB\xCE\xBC\xCF\x80\xCE\xBF\xCF\x85\xCE\xBC";           // Άλμπουμ
const std::string Sea = "\xCE\x98\xCE\xAC\xCE\xBB\xCE\xB1\xCF\x83\xCF\x83\xCE\xB1";              // Θάλασσα

std::string TempFolder() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    return WideToUtf8(path);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(FilePath(path), std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(FilePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class GreekPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder() + "Musik\\" + Greek;
        fs::remove_all(FilePath(TempFolder() + "Musik"));
        ASSERT_TRUE(fs::create_directories(FilePath(folder + "\\cddb\\folk")));
    }
    void TearDown() override {
        SetLogFilePath("");
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
        SetEnvironmentVariableW(L"TUNOVA_VIRTUAL_CD", nullptr);
        SetEnvironmentVariableW(L"TUNOVA_VIRTUAL_TRACE", nullptr);
        ResetDiscInfo();
        fs::remove_all(FilePath(TempFolder() + "Musik"));
    }
    std::string folder;
};

TEST_F(GreekPathTest, ImageLocalCopyLogAndTraceInAGreekFolder) {
    // Two tracks of two seconds in a BIN named in Greek, and its sheet.
    WriteFile(folder + "\\" + Greek + ".bin", std::string(300 * 2352, '\0'));
    WriteFile(folder + "\\" + Album + ".cue", "FILE \"" + Greek + ".bin\" BINARY\r\n"
                                              "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                                              "  TRACK 02 AUDIO\r\n    INDEX 01 00:02:00\r\n");
    const std::string log = folder + "\\tunova.log";
    SetLogFilePath(log);
    SetEnvironmentVariableW(L"TUNOVA_VIRTUAL_CD", Utf8ToWide(folder + "\\" + Album + ".cue").c_str());
    SetEnvironmentVariableW(L"TUNOVA_VIRTUAL_TRACE", Utf8ToWide(folder + "\\trace.txt").c_str());
    InstallCdAudioDriver(CreateVirtualCdDriverFromEnvironment());
    ASSERT_EQ(VirtualCdDriveNames(), std::vector<std::string>{"D:"});
    ASSERT_GT(OpenCdDevice("D:"), 0) << ReadFile(log);
    ASSERT_EQ(CdDevice().trackCount, 2);

    char id[9];
    std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(ComputeDiscId()));
    WriteFile(folder + "\\cddb\\folk\\00toff", "#FILENAME=" + std::string(id) + "\n# xmcd\nDISCID=" + id +
                                                   "\nDTITLE=" + Sea + " / " + Greek + "\nTTITLE0=" + Sea +
                                                   "\nTTITLE1=" + Album + "\n");
    DiscInfo().trackTitles.assign(2, std::nullopt);
    EXPECT_EQ(SearchLocalDatabaseAt((folder + "\\cddb").c_str(), ComputeDiscId()), 1);
    EXPECT_EQ(DiscInfo().artist, Sea);
    EXPECT_EQ(DiscInfo().title, Greek);
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>(Album));

    // The log file is UTF-8 and names the Greek folder letter for letter.
    CloseCdDevice();
    EXPECT_NE(ReadFile(log).find("Looking in file:  " + folder + "\\cddb\\folk\\00toff"), std::string::npos)
        << ReadFile(log);
    EXPECT_FALSE(ReadFile(folder + "\\trace.txt").empty()) << "the drive's trace went to its Greek path";
}

TEST(ProgramArgumentsTest, ArgumentsFollowTheProgramsNameWithEveryLetter) {
    EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Tunova\\tunova.exe\"  E:\\ -d"), "E:\\ -d");
    EXPECT_EQ(ArgumentsOf(L"tunova.exe -d"), "-d");
    EXPECT_EQ(ArgumentsOf(L"tunova.exe"), "");
    EXPECT_EQ(ArgumentsOf(L"tunova.exe \x0395\x03BB \x65E5"), "\xCE\x95\xCE\xBB \xE6\x97\xA5");
}

} // namespace
