#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "discinfo/querystatus.h"
#include "discfixture.h"
#include "discinfo/discinfo.h"
#include "discinfo/lifecycle.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"
#include "platform/inireader.h"
#include "platform/rawcd.h"
#include "platform/virtualcd/imagecdtext.h"
#include "resources/messageids.h"
#include "tests/support/cdromstandin.h"
#include "tests/support/cdtextpacks.h"
#include "tests/support/messagerecorder.h"

namespace {

const char* const OptionsKey = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\Tunova";
WindowHandle const MainWindow = reinterpret_cast<WindowHandle>(0x1234);

// True when another thread can take DiscInfoLock at once, so the caller holds it not.
bool LockIsFree() {
    auto taken = std::async(std::launch::async, [] {
        DiscInfoHold hold;
    });
    return taken.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
}

// The record's state as a message is sent: the lookup must be over and the lock free.
struct SendMoment {
    bool lookupRunning;
    bool lockFree;
};
using HandOverRecorder = MessageRecorder<SendMoment>;
constexpr std::chrono::seconds HandOverLimit{10};

// What the cddb client will do on the lookup thread: fill the record under the lock.
void FillFromLookup() {
    DiscInfoHold hold;
    DiscInfo().artist = "Found Artist";
    DiscInfo().trackTitles[1] = "Found Track";
}

std::vector<std::string> events;
void RecordPageNotice() { events.push_back(DiscInfo().lookupRunning ? "page while running" : "page"); }
void RecordChoiceClosed() { events.push_back("choice closed"); }

// Drive D: holding the inserted disc, its CD-Text packs those of these texts, answering
// through DeviceIoControl as the CD-ROM class driver does. Counts its CD-Text reads.
class CdTextDrive {
public:
    explicit CdTextDrive(const AlbumTexts& texts) : standIn(Disc(texts)) {
        CdDevice().drive = "D:";
        InstallRawCdOpener([this](const std::string& drive, std::uint32_t* error) -> std::unique_ptr<RawCdDrive> {
            if (drive != "D:") {
                *error = win32error::FileNotFound;
                return nullptr;
            }
            return MakeIoctlRawCdDrive([this](std::uint32_t code, const void* in, std::uint32_t inBytes, void* out,
                                              std::uint32_t outBytes, std::uint32_t* returned) {
                if (code == cdrom::IoctlReadTocEx) ++cdTextReads;
                return standIn.Answer(code, in, inBytes, out, outBytes, returned);
            });
        });
    }
    ~CdTextDrive() { InstallRawCdOpener(nullptr); }

    StandInCdDrive standIn;
    int cdTextReads = 0;

private:
    static StandInDisc Disc(const AlbumTexts& texts) {
        StandInDisc disc;
        const CdDeviceRecord& device = CdDevice();
        for (std::int32_t i = 0; i < device.trackCount; ++i)
            disc.tracks.push_back({device.toc[i].type == TrackAudio, TrackStartFrames(device.toc[i])});
        disc.leadOutFrame = TrackStartFrames(device.toc[device.trackCount]);
        std::vector<std::string> leftOut;
        disc.cdText = CdTextReply(BuildCdTextPacks(texts, &leftOut));
        return disc;
    }
};

// The inserted disc's three tracks, the second by a guest.
AlbumTexts HarbourLights() {
    return AlbumTexts{{"Harbour Lights", "Opening", "Second Song", "Home Port"}, {"The Lanterns", "", "Mara Vey", ""}};
}

class LifecycleTest : public DiscInfoTest {
protected:
    void SetUp() override {
        DiscInfoTest::SetUp();
        events.clear();
        InstallWindowMessageSender(&recorder);
        registry.PutKey(OptionsKey);
        for (const char* key : {CurrentDiscKey, Disc210Key, Disc200Key}) registry.PutKey(key);
        registry.PutDword(OptionsKey, "Shuffle", 1);
    }
    void TearDown() override {
        // A lookup thread still running must end before the records are reset.
        if (DiscInfo().lookupRunning) recorder.WaitFor(1, HandOverLimit);
        DiscInfoTest::TearDown();
    }
    HandOverRecorder recorder{[] { return SendMoment{DiscInfo().lookupRunning, LockIsFree()}; }};
};

TEST_F(LifecycleTest, KnownDiscStartsNoLookup) {
    registry.PutText(RecordPath(CurrentDiscKey), "Artist", "Known");
    SetQueryStatus("Left from before.");
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    EXPECT_EQ(QueryStatusText(), "");
    EXPECT_TRUE(DiscInfo().discReady);
    EXPECT_FALSE(DiscInfo().lookupRunning);
    EXPECT_EQ(DiscInfo().artist, "Known");
    EXPECT_EQ(DiscInfo().trackTitles.size(), 3u);
    EXPECT_EQ(ProgramOptions().Shuffle, 1);
    // Cdplayer.ini was not consulted.
    EXPECT_EQ(LogText().find("cdplayer.ini"), std::string::npos);
    EXPECT_TRUE(recorder.All().empty());
}

TEST_F(LifecycleTest, CdplayerIniDecidesWhetherTheLookupRuns) {
    const std::string directory = ::testing::TempDir();
    const std::string iniPath = directory + "/Cdplayer.ini";
    IniFileReader reader(directory);
    InstallProfileFile(&reader);
    const struct {
        const char* section;
        bool lookup;
    } cases[] = {
        {"[3A5B1C02]\nartist=From the file\n", false},
        {"[3A5B1C02]\nartist=New Artist\ntitle=New Title\n", true},
        {"[3A5B1C02]\nnumplay=2\norder=1 0\n", true},
    };
    for (const auto& c : cases) {
        std::ofstream(iniPath, std::ios::binary) << c.section;
        recorder.Clear();
        ResetDiscInfo();
        StartDiscInfo(MainWindow, DiscInfoChangedMessage);
        EXPECT_EQ(recorder.WaitFor(c.lookup ? 1 : 0, HandOverLimit).size(), c.lookup ? 1u : 0u) << c.section;
        EXPECT_FALSE(DiscInfo().lookupRunning) << c.section;
    }
    std::remove(iniPath.c_str());
}

TEST_F(LifecycleTest, UnknownDiscStartsTheLookupWhichHandsOver) {
    SetDiscLookupHooks(DiscLookupHooks{FillFromLookup, RecordPageNotice, nullptr});
    // The sheet is open while the lookup runs; block the lookup until it is.
    LockDiscInfo();
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    EXPECT_TRUE(DiscInfo().lookupRunning);
    EXPECT_TRUE(DiscInfo().discReady);
    DiscInfo().propertiesCopy = CreatePropertiesCopy();
    DiscInfo().propertiesCopy->program = {2, 1};
    UnlockDiscInfo();

    const HandOverRecorder::Sents sent = recorder.WaitFor(1, HandOverLimit);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].window, MainWindow);
    EXPECT_EQ(sent[0].message, DiscInfoChangedMessage);
    EXPECT_FALSE(sent[0].moment.lookupRunning);
    EXPECT_TRUE(sent[0].moment.lockFree);
    EXPECT_EQ(events, std::vector<std::string>{"page"});

    DiscInfoHold hold;
    const PropertiesCopy& copy = *DiscInfo().propertiesCopy;
    EXPECT_EQ(copy.artist, "Found Artist");
    EXPECT_EQ(copy.trackTitles[1], "Found Track");
    EXPECT_EQ(copy.program, (std::vector<std::int32_t>{2, 1}));
}

TEST_F(LifecycleTest, FinishClosesTheChoiceThenSavesOnce) {
    registry.PutText(RecordPath(CurrentDiscKey), "Title", "Known");
    SetDiscLookupHooks(DiscLookupHooks{nullptr, nullptr, RecordChoiceClosed});
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    ProgramOptions().RepeatAll = 1;
    DiscInfo().artist = "Added";
    FinishDiscInfo();
    EXPECT_EQ(events, std::vector<std::string>{"choice closed"});
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Artist"), "Added");
    const auto repeat = registry.GetValue(OptionsKey, "RepeatAll");
    ASSERT_TRUE(repeat);
    EXPECT_EQ(repeat->data[0], 1);
    const std::string log = LogText();
    EXPECT_NE(log.find("Saving program options to registry.\r\n"
                       "Saved program options under:  HKEY_LOCAL_MACHINE\\"
                       "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\Tunova\r\n"
                       "Saving CD information to registry.\r\n"),
              std::string::npos);

    // A session end followed by the window's destruction saves only once.
    DiscInfo().artist = "Later";
    FinishDiscInfo();
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Artist"), "Added");
    EXPECT_EQ(LogText(), log);
}

TEST_F(LifecycleTest, NoDiscMeansNoOptionsLoadedOrSaved) {
    SetDiscLookupHooks(DiscLookupHooks{nullptr, nullptr, RecordChoiceClosed});
    FinishDiscInfo();
    EXPECT_EQ(events, std::vector<std::string>{"choice closed"});
    EXPECT_EQ(LogText(), "");
    EXPECT_FALSE(registry.GetValue(OptionsKey, "StopAtExit"));
}

TEST_F(LifecycleTest, ShutdownDuringALookupKeepsTheStoredRecord) {
    registry.PutText(RecordPath(Disc210Key), "Artist", "Stored");
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    ASSERT_FALSE(DiscInfo().lookupRunning);
    DiscInfo().artist.clear();
    DiscInfo().lookupRunning = true;  // as after "Query cddb Now"
    FinishDiscInfo();
    EXPECT_EQ(StoredText(RecordPath(Disc210Key), "Artist"), "Stored");
    DiscInfo().lookupRunning = false;
}

TEST_F(LifecycleTest, TheDiscsCdTextTitlesAnUnknownDiscWithoutALookupAndIsStored) {
    CdTextDrive drive(HarbourLights());
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    EXPECT_FALSE(DiscInfo().lookupRunning);
    EXPECT_EQ(DiscInfo().artist, "The Lanterns");
    EXPECT_EQ(DiscInfo().title, "Harbour Lights");
    const std::vector<std::optional<std::string>> titles{"Opening", "Mara Vey / Second Song", "Home Port"};
    EXPECT_EQ(DiscInfo().trackTitles, titles);
    EXPECT_NE(LogText().find("Current CD not found in cdplayer.ini:  3A5B1C02\r\n"
                             "Checking CD-Text of current CD in drive:  D:\r\n"
                             "Found CD-Text on the disc.\r\n"),
              std::string::npos)
        << LogText();
    FinishDiscInfo();
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Artist"), "The Lanterns");
    EXPECT_EQ(StoredText(RecordPath(CurrentDiscKey), "Track #2"), "Mara Vey / Second Song");
    EXPECT_TRUE(recorder.All().empty());
}

TEST_F(LifecycleTest, CdTextLeavingATrackUntitledIsKeptWhileTheLookupRuns) {
    AlbumTexts texts = HarbourLights();
    texts.titles[3].clear();
    CdTextDrive drive(texts);
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    // The lookup (which finds nothing here) hands over, and the disc's titles stay.
    EXPECT_EQ(recorder.WaitFor(1, HandOverLimit).size(), 1u);
    const std::vector<std::optional<std::string>> titles{"Opening", "Mara Vey / Second Song", std::nullopt};
    DiscInfoHold hold;
    EXPECT_EQ(DiscInfo().trackTitles, titles);
    EXPECT_EQ(DiscInfo().title, "Harbour Lights");
}

TEST_F(LifecycleTest, ADriveThatCannotReadCdTextLeavesTheDiscToTheLookup) {
    CdTextDrive drive(HarbourLights());
    drive.standIn.ready = false;
    StartDiscInfo(MainWindow, DiscInfoChangedMessage);
    EXPECT_EQ(recorder.WaitFor(1, HandOverLimit).size(), 1u);
    EXPECT_NE(LogText().find("Unable to read CD-Text:  The device is not ready.\r\n"), std::string::npos) << LogText();
    DiscInfoHold hold;
    EXPECT_EQ(DiscInfo().title, "");
}

TEST_F(LifecycleTest, TheUsersOwnRecordsComeBeforeTheDiscsCdText) {
    const std::string directory = ::testing::TempDir();
    const std::string iniPath = directory + "/Cdplayer.ini";
    IniFileReader reader(directory);
    InstallProfileFile(&reader);
    CdTextDrive drive(HarbourLights());
    for (const bool inRegistry : {false, true}) {
        ResetDiscInfo();
        if (inRegistry) registry.PutText(RecordPath(CurrentDiscKey), "Artist", "Known");
        std::ofstream(iniPath, std::ios::binary) << (inRegistry ? "" : "[3A5B1C02]\nartist=Known\n");
        StartDiscInfo(MainWindow, DiscInfoChangedMessage);
        EXPECT_EQ(DiscInfo().artist, "Known");
        // Not even a track the record leaves untitled takes the disc's title.
        EXPECT_EQ(DiscInfo().trackTitles[0], std::nullopt);
        EXPECT_FALSE(DiscInfo().lookupRunning);
    }
    EXPECT_EQ(drive.cdTextReads, 0);
    std::remove(iniPath.c_str());
}

} // namespace
