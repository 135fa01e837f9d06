// Searching a local copy laid out as category directories of range files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "log/logfile.h"
#include "cdaudio/cddevice.h"
#include "cddb/localdb.h"
#include "discinfo/querystatus.h"
#include "discinfo/discinfo.h"
#include "tests/support/statusrecorder.h"

namespace fs = std::filesystem;

namespace {

std::string Entry(const char* id, const char* title) {
    return std::string("#FILENAME=") + id + "\n# xmcd CD database file\nDISCID=" + id + "\nDTITLE=" + title +
           "\nTTITLE0=First\n";
}

class LocalDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("cddb-localdb-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        logPath_ = (root_.parent_path() / "cddb-localdb.log").string();
        std::remove(logPath_.c_str());
        SetLogFilePath(logPath_);
        ClearRecordedStatuses();
        SetQueryStatusListener(RecordStatus);
        CdDevice().trackCount = 1;
        DiscInfo().trackTitles.assign(1, std::nullopt);
    }
    void TearDown() override {
        SetQueryStatusListener(nullptr);
        SetLogFilePath("");
        ResetDiscInfo();
        CdDevice().trackCount = 0;
        fs::remove_all(root_);
    }

    void Write(const std::string& relative, const std::string& text) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << text;
    }

    int Search(unsigned discId) { return SearchLocalDatabaseAt(root_.string().c_str(), discId); }

    std::vector<std::string> Log() {
        std::ifstream in(logPath_, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    // The names in a directory in the order the file system lists them.
    std::vector<std::string> Listed(const std::string& relative) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root_ / relative)) names.push_back(e.path().filename().string());
        return names;
    }

    std::string Path(const std::string& relative) { return (root_ / relative).string(); }

    fs::path root_;
    std::string logPath_;
};

TEST_F(LocalDatabaseTest, FindsTheEntryInTheCoveringFileOfItsCategory) {
    Write("blues/00to3f", Entry("1a000001", "Blues / Not It"));
    Write("blues/40to7f", Entry("4a000001", "Blues / Other Range"));
    Write("rock/00to3f", Entry("0a000001", "Rock / Earlier") + Entry("1a2b3c01", "Rock Artist / Rock Album"));
    Write("rock/notes.txt", "not a range file");

    EXPECT_EQ(Search(0x1a2b3c01), 1);
    EXPECT_EQ(DiscInfo().artist, "Rock Artist");
    EXPECT_EQ(DiscInfo().title, "Rock Album");

    std::vector<std::string> expected = {"Checking local cddb for id:  1a2b3c01"};
    for (const std::string& category : Listed("")) {
        expected.push_back("Looking in:  " + Path(category) + "/*");
        expected.push_back("Looking in file:  " + Path(category + "/00to3f"));
        if (category == "rock") break;
    }
    expected.push_back("Found CD in local cddb:  1a2b3c01");
    EXPECT_EQ(Log(), expected);
    EXPECT_EQ(RecordedStatuses(),
              (std::vector<std::string>{"Looking in local cddb database.", "Found current CD in local database."}));
}

TEST_F(LocalDatabaseTest, NoFileCoversTheFirstByte) {
    Write("rock/00to3f", Entry("40000001", "Misfiled / Entry"));
    Write("rock/80tobf", Entry("40000001", "Misfiled / Entry"));
    EXPECT_EQ(Search(0x40000001), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Checking local cddb for id:  40000001", "Looking in:  " + Path("rock") + "/*",
                                              "Unable to find CD in local cddb:  40000001"}));
    EXPECT_EQ(RecordedStatuses(), (std::vector<std::string>{"Looking in local cddb database.",
                                                   "Current CD not found in local cddb database."}));
    EXPECT_EQ(DiscInfo().title, "");
}

TEST_F(LocalDatabaseTest, OnlyTheFirstListedCoveringFileIsRead) {
    Write("rock/00to3f", "");
    Write("rock/00tofe", "");
    const std::string first = Listed("rock")[0];
    const std::string second = first == "00to3f" ? "00tofe" : "00to3f";
    Write("rock/" + second, Entry("1a2b3c01", "Second / File"));
    EXPECT_EQ(Search(0x1a2b3c01), 0);
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2], "Looking in file:  " + Path("rock/" + first));
}

TEST_F(LocalDatabaseTest, UpperCaseRangeNamesAreRead) {
    Write("jazz/80TOFF", Entry("c0ffee01", "Upper / Case"));
    EXPECT_EQ(Search(0xc0ffee01), 1);
    EXPECT_EQ(DiscInfo().artist, "Upper");
}

TEST_F(LocalDatabaseTest, ARootWithoutCategoriesIsNoDatabase) {
    Write("00to3f", Entry("1a2b3c01", "In / The Root"));
    EXPECT_EQ(Search(0x1a2b3c01), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Checking local cddb for id:  1a2b3c01"}));
    EXPECT_EQ(RecordedStatuses(),
              (std::vector<std::string>{"Looking in local cddb database.", "Illegal cddb database format."}));
    ClearRecordedStatuses();
    EXPECT_EQ(SearchLocalDatabaseAt(Path("missing").c_str(), 0x1a2b3c01), 0);
    EXPECT_EQ(RecordedStatuses().back(), "Illegal cddb database format.");
}

TEST_F(LocalDatabaseTest, ListsSubdirectoriesOnly) {
    Write("rock/00to3f", "");
    Write("misc/00to3f", "");
    Write("readme", "");
    int count = -1;
    char** names = ListCategoryDirectories(root_.string().c_str(), &count);
    ASSERT_EQ(count, 2);
    std::vector<std::string> listed = {names[0], names[1]};
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"misc", "rock"}));
    FreeNameList(names, count);
}

TEST(RangeNameTest, FirstTwoAndFifthSixthCharactersAreHex) {
    struct {
        const char* name;
        bool ok;
        int lower, upper;
    } cases[] = {
        {"00to3f", true, 0x00, 0x3f}, {"C0TOFF", true, 0xc0, 0xff}, {"a0tobf.txt", true, 0xa0, 0xbf},
        {"0gto3f", true, 0x0, 0x3f},  {"00to3", false, 0, 0},        {"xxto3f", false, 0, 0},
        {"00toxx", false, 0, 0},
    };
    for (const auto& c : cases) {
        int lower = -1, upper = -1;
        EXPECT_EQ(ReadRangeName(c.name, &lower, &upper), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(lower, c.lower) << c.name;
            EXPECT_EQ(upper, c.upper) << c.name;
        }
    }
}

} // namespace
