// The lookup thread's search: which sources it asks, what it tells the user, the
// temporary file of the server step and the choice among close matches, against the
// fake cddb server on loopback.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "log/logfile.h"
#include "cdaudio/cddevice.h"
#include "cddb/lookup.h"
#include "cddb/matchchoice.h"
#include "discinfo/querystatus.h"
#include "cddb/server.h"
#include "discinfo/discinfo.h"
#include "discinfo/lookup.h"
#include "discinfo/options.h"
#include "fakecddbprocess.h"
#include "platform/sysnames.h"
#include "platform/virtualcd/virtualcd.h"
#include "resources/messageids.h"
#include "tests/support/posix/silentpeer.h"
#include "tests/support/posix/unusedport.h"
#include "tests/support/filetext.h"
#include "tests/support/statusrecorder.h"
#include "tests/support/messagerecorder.h"

namespace {

namespace fs = std::filesystem;

const std::string Root = TUNOVA_SOURCE_DIR;
WindowHandle const MainWindow = reinterpret_cast<WindowHandle>(0x1234);
constexpr unsigned ChangedMessage = DiscInfoChangedMessage;

// Answers with a fixed row and remembers what it was shown; or, when told to wait, holds
// the choice open until it is abandoned.
class ScriptedChooser : public MatchChooser {
public:
    int Choose(const std::vector<std::string>& titles) override {
        std::unique_lock<std::mutex> hold(mutex);
        shown = titles;
        choosing = true;
        changed.notify_all();
        if (waitForAbandon) changed.wait_for(hold, std::chrono::seconds(20), [this] { return abandoned; });
        return waitForAbandon ? 0 : row;
    }
    void Abandon() override {
        std::lock_guard<std::mutex> hold(mutex);
        abandoned = true;
        changed.notify_all();
    }
    bool WaitUntilChoosing() {
        std::unique_lock<std::mutex> hold(mutex);
        return changed.wait_for(hold, std::chrono::seconds(20), [this] { return choosing; });
    }

    std::mutex mutex;
    std::condition_variable changed;
    int row = 0;
    bool waitForAbandon = false;
    bool choosing = false;
    bool abandoned = false;
    std::vector<std::string> shown;
};

// Waits for the lookup's hand-over: the changed message to the main window.
class HandOverRecorder : public MessageRecorder<> {
public:
    bool WaitForHandOver() {
        return WaitUntil([](const Sents& sent) {
            for (const Sent& s : sent) {
                if (s.window == MainWindow && s.message == ChangedMessage) return true;
            }
            return false;
        });
    }
    int HandOvers() {
        int count = 0;
        for (const Sent& s : All()) count += s.window == MainWindow && s.message == ChangedMessage;
        return count;
    }
};

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallVirtualCdText(FileText(Root + "/samples/discs/album.disc"));
        ASSERT_GT(OpenCdDevice("D:"), 0);
        DiscInfo().trackTitles.assign(12, std::nullopt);
        DiscInfo().ownerWindow = MainWindow;
        DiscInfo().changedMessage = ChangedMessage;

        workDirectory = fs::path(::testing::TempDir()) / ("lookup-" + std::to_string(getpid()));
        fs::remove_all(workDirectory);
        windowsDirectory = workDirectory / "windows";
        fs::create_directories(windowsDirectory / "TEMP");
        SetFixedWindowsDirectory(windowsDirectory.c_str());
        SetFixedSystemNames("tester", "TESTPC", nullptr);
        logPath = workDirectory / "tunova.log";
        SetLogFilePath(logPath);
        transcriptPath = workDirectory / "transcript.txt";

        ClearRecordedStatuses();
        SetQueryStatusListener(RecordStatus);
        InstallMatchChooser(&chooser);
        InstallWindowMessageSender(&recorder);
        InstallCddbLookup();

        ProgramOptionsRecord& options = ProgramOptions();
        options.cddbQueryLocal = 0;
        options.cddbQueryServerAtStartup = 0;
        // The cddb sources alone: MusicBrainz's step has tests of its own.
        options.MusicBrainzQuery = 0;
        options.cddbUseProxy = 1;
        std::snprintf(options.cddbProxyName, sizeof options.cddbProxyName, "127.0.0.1");
        options.cddbProxyPort = UnusedPort();
        std::snprintf(options.cddbRootDirectory, sizeof options.cddbRootDirectory, "%s", windowsDirectory.c_str());
    }

    void TearDown() override {
        // A lookup may still be sending its end notices.
        JoinDiscLookup(nullptr);
        SetDiscLookupHooks(DiscLookupHooks{});
        InstallWindowMessageSender(nullptr);
        InstallMatchChooser(nullptr);
        SetQueryStatusListener(nullptr);
        SetLogFilePath("");
        SetFixedWindowsDirectory(nullptr);
        SetConversationLimits(0, 0);
        ProgramOptions() = ProgramOptionsRecord{};
        CloseCdDevice();
        ResetDiscInfo();
        fs::remove_all(workDirectory);
    }

    // The relay points at a fake server started with these arguments for the test.
    void ServeFromFake(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--transcript", transcriptPath.string()});
        server = std::make_unique<FakeCddbProcess>(arguments);
        ASSERT_NE(server->Port(), 0) << "the fake server did not start";
        ProgramOptions().cddbProxyPort = server->Port();
    }

    // A whole lookup as StartDiscInfo starts it, up to its hand-over to the main window.
    void RunLookup() {
        ASSERT_EQ(StartDiscLookup(), 1);
        ASSERT_TRUE(recorder.WaitForHandOver());
        EXPECT_FALSE(DiscInfo().lookupRunning);
    }

    std::string LastStatus() {
        const std::vector<std::string> all = RecordedStatuses();
        return all.empty() ? std::string() : all.back();
    }
    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(windowsDirectory / "TEMP")) names.push_back(entry.path().string());
        return names;
    }
    // Lines the client sent that begin with prefix.
    std::vector<std::string> SentLines(const std::string& prefix) const {
        std::vector<std::string> lines;
        std::istringstream text(FileText(transcriptPath));
        for (std::string line; std::getline(text, line);) {
            if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
        }
        return lines;
    }

    fs::path workDirectory, windowsDirectory, logPath, transcriptPath;
    ScriptedChooser chooser;
    HandOverRecorder recorder;
    std::unique_ptr<FakeCddbProcess> server;
};

const std::string AlbumTail = " 12 150 18395 35730 55800 70205 92840 109973 129110 142530 163838 180013 198703 2869";

TEST_F(LookupTest, NoSourcesSaysSoAndStillHandsOver) {
    RunLookup();
    EXPECT_EQ(RecordedStatuses(), std::vector<std::string>{"No cddb sources configured for querying."});
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_NE(FileText(logPath).find("Checking cddb sources for id:  9c0b330c\r\n"), std::string::npos);
}

TEST_F(LookupTest, DiscInTheLocalCopyIsNotAskedOfTheServer) {
    ProgramOptionsRecord& options = ProgramOptions();
    options.cddbQueryLocal = 1;
    options.cddbQueryServerAtStartup = 1;
    std::snprintf(options.cddbRootDirectory, sizeof options.cddbRootDirectory, "%s/samples/cddb", Root.c_str());
    RunLookup();
    EXPECT_EQ(RecordedStatuses(),
              (std::vector<std::string>{"Looking in local cddb database.", "Found current CD in local database."}));
    EXPECT_EQ(DiscInfo().artist, "The Lanterns");
}

TEST_F(LookupTest, ExactMatchOnTheServerAfterTheLocalCopyMissed) {
    ProgramOptions().cddbQueryLocal = 1;
    ProgramOptions().cddbQueryServerAtStartup = 1;
    ServeFromFake({});
    RunLookup();
    const std::vector<std::string> all = RecordedStatuses();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[1], "Current CD not found in local cddb database.");
    EXPECT_EQ(all[2], "Looking for server.");
    EXPECT_EQ(all.back(), "Found current CD on remote server.");
    EXPECT_EQ(DiscInfo().artist, "The Lanterns");
    EXPECT_EQ(DiscInfo().title, "Harbour Lights");
    EXPECT_EQ(DiscInfo().trackTitles[11], std::optional<std::string>("Home Port"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(LookupTest, ChosenCloseMatchIsReadByItsCategoryAndIdAndStoredForThisDisc) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    ServeFromFake({"--alias", "9c0b330c=920ef00b,56112719,430aab07"});
    chooser.row = 2;
    RunLookup();
    EXPECT_EQ(chooser.shown, (std::vector<std::string>{"Quiet Hours Trio / Night Shift", "Various Artists / Short Stories",
                                                        "Delta Rail / Software and Songs"}));
    // One query; the chosen entry is read in a conversation of its own, greeted again.
    EXPECT_EQ(SentLines("cddb query"), std::vector<std::string>{"cddb query 9c0b330c" + AlbumTail});
    EXPECT_EQ(SentLines("cddb read"), std::vector<std::string>{"cddb read misc 56112719"});
    EXPECT_EQ(SentLines("cddb hello").size(), 2u);
    const std::vector<std::string> all = RecordedStatuses();
    EXPECT_NE(std::find(all.begin(), all.end(), "Possible matches found on remote server."), all.end());
    EXPECT_EQ(all.back(), "Found current CD on remote server.");
    EXPECT_EQ(DiscInfo().artist, "Various Artists");
    EXPECT_EQ(DiscInfo().title, "Short Stories");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>("Story 1"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(LookupTest, NoChoiceOrNoMatchLeavesTheRecordAlone) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    DiscInfo().artist = "Typed Artist";
    struct {
        const char* alias;
        const char* lastStatus;
    } cases[] = {
        {"9c0b330c=920ef00b,56112719,430aab07", "Current CD not found on remote server."}, // "Current CD Not In List"
        {"9c0b330c=01020304", "Current CD not found on remote server."},                   // 202
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alias);
        ClearRecordedStatuses();
        recorder.Clear();
        ServeFromFake({"--alias", c.alias});
        chooser.row = 0;
        RunLookup();
        EXPECT_EQ(LastStatus(), c.lastStatus);
        EXPECT_EQ(SentLines("cddb query").size(), 1u);
        EXPECT_EQ(DiscInfo().artist, "Typed Artist");
        EXPECT_FALSE(DiscInfo().trackTitles[0].has_value());
        EXPECT_TRUE(TempFiles().empty());
        server.reset();
        fs::remove(transcriptPath);
    }
}

TEST_F(LookupTest, FailedConversationKeepsItsOwnStatusAndDeletesTheFile) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    RunLookup();
    EXPECT_EQ(LastStatus(), "Unable to connect to server.");
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(LookupTest, WithoutATempDirectoryTheServerIsNotAsked) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    fs::remove(windowsDirectory / "TEMP");
    const auto before = std::distance(fs::directory_iterator(windowsDirectory), fs::directory_iterator());
    RunLookup();
    EXPECT_EQ(RecordedStatuses(), std::vector<std::string>{"Unable to create temporary file."});
    EXPECT_NE(FileText(logPath).find("Unable to create temporary file.\r\n"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(windowsDirectory), fs::directory_iterator()), before);
}

TEST_F(LookupTest, ShutdownAbandonsAPendingChoice) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    ServeFromFake({"--alias", "9c0b330c=920ef00b,56112719"});
    chooser.waitForAbandon = true;
    ASSERT_EQ(StartDiscLookup(), 1);
    ASSERT_TRUE(chooser.WaitUntilChoosing());
    const std::vector<std::string> open = TempFiles();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(fs::path(open[0]).filename().string().substr(0, 3), "cdb");
    CancelDiscLookup();
    JoinDiscLookup(nullptr);
    EXPECT_EQ(recorder.HandOvers(), 1);
    EXPECT_EQ(LastStatus(), "Current CD not found on remote server.");
    EXPECT_EQ(SentLines("cddb query").size(), 1u);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(LookupTest, ShutdownDuringAStalledServerEndsTheLookupBeforeTheDeviceCloses) {
    SilentPeer stalled;
    ASSERT_NE(stalled.Port(), 0);
    ProgramOptions().cddbQueryServerAtStartup = 1;
    ProgramOptions().cddbProxyPort = stalled.Port();
    ASSERT_EQ(StartDiscLookup(), 1);
    ASSERT_TRUE(stalled.WaitForConnection());
    EXPECT_EQ(StartDiscLookup(), 0) << "one lookup at a time";

    const auto started = std::chrono::steady_clock::now();
    CancelDiscLookup();
    JoinDiscLookup(nullptr);
    // Waiting out the silence rule would take a minute.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(recorder.HandOvers(), 1);
    EXPECT_FALSE(DiscInfo().lookupRunning);
    EXPECT_TRUE(TempFiles().empty());
    // Nothing reads the table of contents any more (the sanitizers watch this).
    CloseCdDevice();
}

const std::string ServerEntries = Root + "/tests/data/cddb/server";

// The eleven-track disc, whose entry the server knows only as a close match filed under
// one id in two categories.
void InsertElevenTrackDisc() {
    CloseCdDevice();
    InstallVirtualCdText(FileText(Root + "/samples/discs/eleven.disc"));
    ASSERT_GT(OpenCdDevice("D:"), 0);
    DiscInfo().trackTitles.assign(11, std::nullopt);
}

TEST_F(LookupTest, RealUtf8EntryIsStoredInTheCodePage) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    ServeFromFake({"--db", ServerEntries});
    RunLookup();
    EXPECT_EQ(LastStatus(), "Found current CD on remote server.");
    EXPECT_EQ(DiscInfo().artist, "L\xE9" "a Fontaine & \xD8rjan S\xF8" "by");
    EXPECT_EQ(DiscInfo().title, "\xC9t\xE9 \xE0 Paris");
    EXPECT_EQ(DiscInfo().trackTitles[0], std::optional<std::string>("Rue de l\x92\xC9t\xE9"));
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>("Caf\xE9 des Artistes"));
    EXPECT_EQ(DiscInfo().trackTitles[4], std::optional<std::string>("Na\xEFve Chan\xE7on"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(LookupTest, ChosenMatchOfAnIdInTwoCategoriesIsReadFromThatCategory) {
    InsertElevenTrackDisc();
    ProgramOptions().cddbQueryServerAtStartup = 1;
    ServeFromFake({"--db", ServerEntries});
    chooser.row = 2;
    RunLookup();
    EXPECT_EQ(chooser.shown, (std::vector<std::string>{"Delta Rail / Crossroads Caf\xE9", "Les \xC9toiles Quartet / Nuit Blanche"}));
    EXPECT_EQ(SentLines("cddb query").size(), 1u);
    EXPECT_EQ(SentLines("cddb read"), std::vector<std::string>{"cddb read jazz 9d0ef00b"});
    EXPECT_EQ(LastStatus(), "Found current CD on remote server.");
    EXPECT_EQ(DiscInfo().artist, "Les \xC9toiles Quartet");
    EXPECT_EQ(DiscInfo().title, "Nuit Blanche");
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>("Minuit \xE0 Saint-Germain"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(LookupTest, ServerEntryWithAPortOrAScriptAddress) {
    ProgramOptionsRecord& options = ProgramOptions();
    options.cddbQueryServerAtStartup = 1;
    options.cddbUseProxy = 0;
    options.cddbServerNum = 0;
    struct {
        std::vector<std::string> arguments;
        std::string entry;      // {port} is the fake's port
        std::string returnAddress;
        std::string hello;      // as the fake saw it
        std::string lastStatus;
    } cases[] = {
        {{}, "127.0.0.1:{port} local cddbp", "", "cddb hello tester TESTPC Tunova v2.21", "Found current CD on remote server."},
        {{"--http", "--require-address"}, "http://127.0.0.1:{port}/~cddb/cddb.cgi local script", "jo.smith@example.org",
         "cddb hello jo.smith example.org Tunova v2.21", "Found current CD on remote server."},
        // A greeting without a mail address is turned away by today's service.
        {{"--http", "--require-address"}, "http://127.0.0.1:{port}/~cddb/cddb.cgi", "", "cddb hello tester TESTPC Tunova v2.21",
         "Server query error #431."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        ClearRecordedStatuses();
        recorder.Clear();
        DiscInfo().artist.clear();
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--db", ServerEntries});
        ServeFromFake(arguments);
        std::string entry = c.entry;
        entry.replace(entry.find("{port}"), 6, std::to_string(server->Port()));
        options.cddbServerList = {entry};
        std::snprintf(options.smtpReturnAddress, sizeof options.smtpReturnAddress, "%s", c.returnAddress.c_str());
        RunLookup();
        EXPECT_EQ(LastStatus(), c.lastStatus);
        EXPECT_EQ(SentLines("cddb hello"), std::vector<std::string>(SentLines("cddb hello").size(), c.hello));
        EXPECT_FALSE(SentLines("cddb hello").empty());
        if (c.lastStatus == "Found current CD on remote server.") {
            EXPECT_EQ(DiscInfo().artist, "L\xE9" "a Fontaine & \xD8rjan S\xF8" "by");
        }
        if (!c.arguments.empty()) {
            // Over HTTP: one request a command, each with the greeting and level 6.
            for (const std::string& request : SentLines("GET ")) {
                EXPECT_NE(request.find("&proto=6 HTTP/1.0"), std::string::npos) << request;
            }
        }
        EXPECT_TRUE(TempFiles().empty());
        server.reset();
        fs::remove(transcriptPath);
    }
}

TEST_F(LookupTest, RunawayServerIsCutOffAtTheBoundsAndTheFileDeleted) {
    ProgramOptions().cddbQueryServerAtStartup = 1;
    struct {
        std::vector<std::string> arguments;
        int seconds;
        const char* lastStatus;
    } cases[] = {
        {{"--misbehave", "flood"}, 0, "Server reply too large."},
        // A byte every 10 ms never leaves the reader silent for long.
        {{"--misbehave", "trickle", "--split-pause", "0.01"}, 3, "Server took too long to answer."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lastStatus);
        ClearRecordedStatuses();
        recorder.Clear();
        SetConversationLimits(0, c.seconds);
        ServeFromFake(c.arguments);
        const auto started = std::chrono::steady_clock::now();
        RunLookup();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(25));
        EXPECT_EQ(LastStatus(), c.lastStatus);
        EXPECT_FALSE(DiscInfo().lookupRunning);
        EXPECT_TRUE(TempFiles().empty());
        EXPECT_EQ(DiscInfo().artist[0], '\0');
        server.reset();
        fs::remove(transcriptPath);
    }
}

TEST(LookupTempDirectory, IsTheWindowsDirectorysTemp) {
    EXPECT_EQ(LookupTempDirectory("/windows"), "/windows/TEMP");
    EXPECT_EQ(LookupTempDirectory("/windows/"), "/windows/TEMP");
}

} // namespace
