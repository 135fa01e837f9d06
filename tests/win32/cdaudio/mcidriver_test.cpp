// The CD device under Wine: the real MCI adapter and the virtual drive as the Win32
// build installs it.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cdaudio/cddevice.h"
#include "cdaudio/musicbrainzid.h"
#include "platform/cdaudiodriver.h"
#include "platform/virtualcd/pathforms.h"
#include "platform/virtualcd/virtualcd.h"
#include "platform/rawcd.h"
#include "platform/win32/mcidriver.h"
#include "platform/win32/rawcddevice.h"
#include "tests/support/logcapture.h"

namespace {

std::string SystemText(std::uint32_t code) {
    char text[129] = {};
    mciGetErrorStringA(code, text, 128);
    return text;
}

void SetVariable(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
    _putenv((std::string(name) + "=" + value).c_str());
}

std::string SampleDisc(const char* name) {
    return WindowsFormOfPath(std::string(TUNOVA_SOURCE_DIR) + "/samples/discs/" + name);
}

class Win32CdTest : public ::testing::Test {
protected:
    void TearDown() override {
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
        SetVariable("TUNOVA_VIRTUAL_CD", "");
    }
    LogCapture log_;
};

TEST_F(Win32CdTest, MciAdapterReportsTheSystemsTexts) {
    auto driver = CreateMciCdAudioDriver();
    for (std::uint32_t code : {257u, 262u, 274u, 276u, 282u, 291u, 296u}) {
        char text[129] = {};
        EXPECT_TRUE(driver->ErrorText(code, text, 128)) << code;
        EXPECT_EQ(std::string(text), SystemText(code)) << code;
        EXPECT_FALSE(std::string(text).empty()) << code;
    }
    char text[129] = "untouched";
    EXPECT_FALSE(driver->ErrorText(1, text, 128));
    // No open device: the id is refused.
    std::uint32_t value = 0;
    EXPECT_EQ(driver->Status(0x4321, mci::StatusMode, 0, &value), static_cast<std::uint32_t>(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(driver->Close(0x4321), static_cast<std::uint32_t>(MCIERR_INVALID_DEVICE_ID));
}

// Wine has no CD drive: both opens fail and the log carries Wine's own text twice.
TEST_F(Win32CdTest, OpenWithoutADriveIsBusyWithTheSystemsText) {
    SetVariable("TUNOVA_VIRTUAL_CD", "");
    InstallStartupCdAudioDriver();
    std::uint16_t id = 0;
    const std::uint32_t code = CdAudio().Open("D:", false, &id);
    ASSERT_NE(code, 0u);
    log_.Clear();
    EXPECT_EQ(OpenCdDevice("D:"), DeviceBusy);
    const std::string error = "MCI Error opening CD player: \r\n   " + SystemText(code);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Opening CD player with exclusive access:  D:", error,
                                              "Opening CD player using shareable mode:  D:", error}));
}

TEST_F(Win32CdTest, StartUpInstallsTheVirtualDriveFromAWindowsPath) {
    SetVariable("TUNOVA_VIRTUAL_CD", SampleDisc("onetrack.disc"));
    InstallStartupCdAudioDriver();
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    const std::string text = log_.Text();
    EXPECT_NE(text.find("Track # 1 Offset: 150 - Length: 13350\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("cddb Length:  180 seconds\r\nDiscid =  0200b201\r\n"
                        "MusicBrainz disc id:  mmV.QS8KlE8SEDrU.b2zsGN.JRA-\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(PlayFrom(PlayRequest{1, 0, 0, 0, 1}), Playing);
    EXPECT_EQ(GetDeviceMode(), Playing);
    EXPECT_EQ(PauseCd(), Paused);
    EXPECT_EQ(GetDeviceMode(), Paused);
    EXPECT_EQ(EjectCd(), 1);
    EXPECT_EQ(GetDeviceMode(), NoDisc);
    EXPECT_EQ(CloseCdDevice(), 1);
}

TEST_F(Win32CdTest, VirtualFailuresCarryTheSystemsTexts) {
    InstallCdAudioDriver(CreateVirtualCdDriver({"track audio 150\nleadout 13500\nfail status-tracks 274\n"}));
    log_.Clear();
    EXPECT_EQ(OpenCdDevice("D:"), Failed);
    const std::string end = "Clossing connection to CD player.\r\nMCI Error getting number of tracks: \r\n   " +
                            SystemText(274) + "\r\n";
    const std::string text = log_.Text();
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

TEST_F(Win32CdTest, AlbumShowsItsFirstAndLastLengths) {
    SetVariable("TUNOVA_VIRTUAL_CD", SampleDisc("album.disc"));
    InstallStartupCdAudioDriver();
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    const CdDeviceRecord& device = CdDevice();
    ASSERT_EQ(device.trackCount, 12);
    EXPECT_EQ(device.toc[0].lengthMinutes, 4);
    EXPECT_EQ(device.toc[0].lengthSeconds, 3);
    EXPECT_EQ(device.toc[11].lengthMinutes, 3);
    EXPECT_EQ(device.toc[11].lengthSeconds, 40);
    CloseCdDevice();
}

// The helper half of the next test: runs only in the child process it starts.
TEST(SecondProcess, HoldsTheDriveUntilReleased) {
    if (!std::getenv("TUNOVA_CD_TEST_CHILD")) GTEST_SKIP() << "runs as the other program only";
    InstallStartupCdAudioDriver();
    std::uint16_t id = 0;
    ASSERT_EQ(CdAudio().Open("D:", false, &id), 0u);
    HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, "TunovaCdTestHeld");
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "TunovaCdTestRelease");
    ASSERT_TRUE(held && release);
    SetEvent(held);
    WaitForSingleObject(release, 30000);
    // Ends without a close: the system lets go of the drive with the process.
    ExitProcess(0);
}

TEST_F(Win32CdTest, ADriveHeldByAnotherProgramIsBusy) {
    SetVariable("TUNOVA_VIRTUAL_CD", SampleDisc("onetrack.disc"));
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "TunovaCdTestHeld");
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "TunovaCdTestRelease");
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --gtest_filter=SecondProcess.HoldsTheDriveUntilReleased";
    SetVariable("TUNOVA_CD_TEST_CHILD", "1");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &child);
    SetVariable("TUNOVA_CD_TEST_CHILD", "");
    ASSERT_TRUE(started);
    ASSERT_EQ(WaitForSingleObject(held, 30000), WAIT_OBJECT_0);

    InstallStartupCdAudioDriver();
    log_.Clear();
    EXPECT_EQ(OpenCdDevice("D:"), DeviceBusy);
    const std::string error = "MCI Error opening CD player: \r\n   " + SystemText(MCIERR_MUST_USE_SHAREABLE);
    EXPECT_EQ(log_.Text(), LogCapture::Lines({"Opening CD player with exclusive access:  D:", error,
                                              "Opening CD player using shareable mode:  D:", error}));

    SetEvent(release);
    WaitForSingleObject(child.hProcess, 30000);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    EXPECT_EQ(OpenCdDevice("D:"), Stopped);
    CloseCdDevice();
    CloseHandle(held);
    CloseHandle(release);
}

} // namespace

namespace {

// The real raw reads of a drive letter that holds no audio disc: Wine's C: (a folder,
// not a CD drive) and a letter with nothing behind it. The program says why and plays
// through the CD audio device, here the virtual drive under the same letter.
TEST_F(Win32CdTest, ADriveThatCannotReadAudioIsLoggedAndPlaysThroughTheDevice) {
    for (const char* drive : {"C:", "K:"}) {
        InstallVirtualCdText(std::string("drive ") + drive + "\ntrack audio 150\nleadout 13500\n");
        InstallRawCdOpener(OpenDeviceRawCd);
        ASSERT_EQ(OpenCdDevice(drive), Stopped);
        log_.Clear();
        ChoosePlaybackPath(drive, true);
        EXPECT_FALSE(CdDevice().digital) << drive;
        const std::string prefix = std::string("Drive ") + drive + " cannot read audio, playing through its own output: ";
        const std::string text = log_.Text();
        ASSERT_EQ(text.rfind(prefix, 0), 0u) << text;
        EXPECT_GT(text.size(), prefix.size() + 2) << "the system's reason follows";
        EXPECT_EQ(PlayFrom({1, 0, 0, 0, 1}), Playing);
        EXPECT_EQ(GetDeviceMode(), Playing);
        CloseCdDevice();
        CdDevice() = CdDeviceRecord{};
        InstallRawCdOpener(nullptr);
    }
}

// The disc id's computation as the Windows program runs it, on MusicBrainz's own example.
TEST_F(Win32CdTest, TheMusicBrainzExampleDiscHasItsPublishedId) {
    InstallVirtualCdText("track audio 150\ntrack audio 22767\ntrack audio 41887\ntrack audio 58317\n"
                         "track audio 72102\ntrack audio 91375\ntrack audio 104652\ntrack audio 115380\n"
                         "track audio 132165\ntrack audio 143932\ntrack audio 159870\ntrack audio 174597\n"
                         "leadout 267257\n");
    ASSERT_EQ(OpenCdDevice("D:"), Stopped);
    EXPECT_EQ(MusicBrainzDiscId(), "I5l9cCSFccLKFEKS.7wqSZAorPU-");
    EXPECT_EQ(CloseCdDevice(), 1);
}

} // namespace
