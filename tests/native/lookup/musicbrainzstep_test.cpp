// MusicBrainz's place in the disc lookup, against the recorded service: after the local
// cddb copy and before the cddb server, a release stored at once or chosen by the user,
// and the lookup going on to the server when MusicBrainz has nothing to give.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cdaudio/cddevice.h"
#include "cddb/lookup.h"
#include "cddb/matchchoice.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "discinfo/querystatus.h"
#include "platform/cdaudiodriver.h"
#include "platform/sysnames.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/filetext.h"
#include "tests/support/posix/unusedport.h"
#include "tests/support/recordedmusicbrainz.h"
#include "tests/support/statusrecorder.h"

namespace {

const std::string Root = TUNOVA_SOURCE_DIR;
const char* const AlbumId = "gDR7mxLhHXN.0SVfUlSoMr.EnG0-";
const char* const ElevenId = "hoM41cVCHeAGwI4xdzp5d5Cmm.4-";
const char* const EnhancedId = "9sLuYGWpqZYqnKKFhsRI5Otro0k-";
const char* const DataFirstId = "CIYJXHCZDwn5LBA9TI94BsN4rxI-";

// Answers with a fixed row (0: none) and remembers what it was shown.
class RowChooser : public MatchChooser {
public:
    int Choose(const std::vector<std::string>& titles) override {
        shown = titles;
        ++choices;
        return row;
    }
    void Abandon() override {}
    int row = 0;
    int choices = 0;
    std::vector<std::string> shown;
};

class MusicBrainzStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallHttpsClient(&service);
        InstallMatchChooser(&chooser);
        ClearRecordedStatuses();
        SetQueryStatusListener(RecordStatus);
        ProgramOptionsRecord& options = ProgramOptions();
        options.MusicBrainzQuery = 1;
        options.MusicBrainzServer = "https://mb.test";
        // Where the cddb server step makes its temporary file.
        windows = std::filesystem::path(::testing::TempDir()) / ("mbstep-" + std::to_string(getpid()));
        std::filesystem::create_directories(windows / "TEMP");
        SetFixedWindowsDirectory(windows.c_str());
    }
    void TearDown() override {
        SetQueryStatusListener(nullptr);
        InstallMatchChooser(nullptr);
        InstallHttpsClient(nullptr);
        ProgramOptions() = ProgramOptionsRecord{};
        CloseCdDevice();
        CdDevice() = CdDeviceRecord{};
        InstallCdAudioDriver(nullptr);
        ResetDiscInfo();
        SetFixedWindowsDirectory(nullptr);
        std::filesystem::remove_all(windows);
    }
    void Insert(const std::string& sample) {
        InstallVirtualCdText(FileText(Root + "/samples/discs/" + sample));
        ASSERT_GT(OpenCdDevice("D:"), 0);
        DiscInfo().trackTitles.assign(static_cast<std::size_t>(CdDevice().trackCount), std::nullopt);
    }
    // The cddb server through the relay options, at a port where nobody listens.
    void AlsoAskTheCddbServer() {
        ProgramOptionsRecord& options = ProgramOptions();
        options.cddbQueryServerAtStartup = 1;
        options.cddbUseProxy = 1;
        std::snprintf(options.cddbProxyName, sizeof options.cddbProxyName, "127.0.0.1");
        options.cddbProxyPort = UnusedPort();
    }

    RecordedMusicBrainz service;
    RowChooser chooser;
    std::filesystem::path windows;
};

} // namespace

TEST_F(MusicBrainzStepTest, ADiscFiledOnOneReleaseIsStoredAtOnce) {
    Insert("album.disc");
    AlsoAskTheCddbServer();
    service.ServeFile(AlbumId, "album-discid.json");
    SearchCddbSources();
    EXPECT_EQ(chooser.choices, 0);
    EXPECT_EQ(RecordedStatuses(),
              (std::vector<std::string>{"Querying MusicBrainz.", "Found current CD at MusicBrainz."}))
        << "the cddb server is not asked once MusicBrainz has the disc";
    const DiscInfoRecord& disc = DiscInfo();
    EXPECT_EQ(disc.artist, "Kestrel Quartet feat. Mira Holt");
    EXPECT_EQ(disc.title, "Harbour Lights");
    ASSERT_EQ(disc.trackTitles.size(), 12u);
    EXPECT_EQ(disc.trackTitles[0], "Northern Lights");
    EXPECT_EQ(disc.trackTitles[3], "Kestrel Quartet & Tomas Vey / Lanterns");
    EXPECT_EQ(service.Requests().size(), 1u);
}

TEST_F(MusicBrainzStepTest, AmongSeveralReleasesTheUsersChoiceIsStored) {
    Insert("eleven.disc");
    service.ServeFile(ElevenId, "eleven-discid.json");
    chooser.row = 1;
    SearchCddbSources();
    EXPECT_EQ(chooser.shown, (std::vector<std::string>{"オーラ・フィンチ / 開かれた水 (2003, JP, CD)",
                                                       "Orla Finch / Open Water (1999, GB, CD)"}));
    EXPECT_EQ(RecordedStatuses(), (std::vector<std::string>{"Querying MusicBrainz.",
                                                            "Possible matches found at MusicBrainz.",
                                                            "Found current CD at MusicBrainz."}));
    EXPECT_EQ(DiscInfo().artist, "オーラ・フィンチ");
    EXPECT_EQ(DiscInfo().trackTitles[10], "ラストコール");
}

TEST_F(MusicBrainzStepTest, TheSecondDiscOfASetTakesItsTracksAndLeavesTheDataTrackUntitled) {
    Insert("enhanced.disc");
    DiscInfo().trackTitles[9] = "Data";
    service.ServeFile(EnhancedId, "enhanced-discid.json");
    SearchCddbSources();
    const DiscInfoRecord& disc = DiscInfo();
    EXPECT_EQ(disc.title, "Songs of the Lowlands");
    EXPECT_EQ(disc.trackTitles[0], "Second Prelude");
    EXPECT_EQ(disc.trackTitles[8], "Closing Hymn");
    EXPECT_FALSE(disc.trackTitles[9]);
}

TEST_F(MusicBrainzStepTest, NothingFoundOrChosenGoesOnToTheCddbServer) {
    // Unknown at MusicBrainz: a 404.
    Insert("album.disc");
    AlsoAskTheCddbServer();
    SearchCddbSources();
    std::vector<std::string> statuses = RecordedStatuses();
    ASSERT_GE(statuses.size(), 3u);
    EXPECT_EQ(statuses[1], "Current CD not found at MusicBrainz.");
    EXPECT_EQ(statuses[2], "Looking for server.");
    EXPECT_TRUE(DiscInfo().artist.empty());
    CloseCdDevice();

    // Close matches by the table of contents are always offered, even one; declining
    // them leaves the disc as it was.
    ClearRecordedStatuses();
    Insert("datafirst.disc");
    service.ServeFile(DataFirstId, "datafirst-tocmatch.json");
    SearchCddbSources();
    EXPECT_EQ(chooser.choices, 1);
    EXPECT_EQ(chooser.shown.size(), 2u);
    statuses = RecordedStatuses();
    ASSERT_GE(statuses.size(), 4u);
    EXPECT_EQ(statuses[2], "Current CD not found at MusicBrainz.");
    EXPECT_EQ(statuses[3], "Looking for server.");
    EXPECT_TRUE(DiscInfo().title.empty());
}

TEST_F(MusicBrainzStepTest, TheLocalCopyIsAskedFirstAndAFailureGoesOnToTheServer) {
    Insert("album.disc");
    ProgramOptionsRecord& options = ProgramOptions();
    options.cddbQueryLocal = 1;
    std::snprintf(options.cddbRootDirectory, sizeof options.cddbRootDirectory, "%s/samples/cddb", Root.c_str());
    service.ServeFile(AlbumId, "album-discid.json");
    SearchCddbSources();
    EXPECT_TRUE(service.Requests().empty()) << "the disc is in the local copy";
    EXPECT_FALSE(DiscInfo().artist.empty());

    ResetDiscInfo();
    DiscInfo().trackTitles.assign(12, std::nullopt);
    options.cddbQueryLocal = 0;
    AlsoAskTheCddbServer();
    ClearRecordedStatuses();
    service.Serve(AlbumId, {{HttpsOutcome::Answered, 503, RecordedMusicBrainz::RateLimited}});
    SearchCddbSources();
    const std::vector<std::string> statuses = RecordedStatuses();
    ASSERT_GE(statuses.size(), 3u);
    EXPECT_EQ(statuses[1], "MusicBrainz is busy; try again later.");
    EXPECT_EQ(statuses[2], "Looking for server.");
    EXPECT_TRUE(DiscInfo().artist.empty());
}
