// The sample disc, its texts and the SMTP settings every submission test starts from,
// with the status texts and the log recorded.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "log/logfile.h"
#include "cdaudio/cddevice.h"
#include "cddb/submit.h"
#include "discinfo/submitstatus.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/virtualcd/virtualcd.h"
#include "tests/support/filetext.h"
#include "tests/support/statusrecorder.h"

namespace submittest {

namespace fs = std::filesystem;

inline const std::string Root = TUNOVA_SOURCE_DIR;

// The titles of the fixture tests/data/submit/album.xmcd: track 3 has none, track 5 is
// longer than one keyed line.
inline const std::vector<std::string> AlbumTitles = {
    "Harbour Mouth", "Salt on the Rope", "", "Lantern Row",
    "A Very Long Song Title That Keeps Going Past The Edge Of One Keyed Line Easily",
    "Low Water", "Gulls", "The Breakwater", "Fog Signal", "Ebb", "Night Ferry", "Home Port"};

// The HELO name sources of the tests: a host name whose reverse lookup answers.
inline bool FixedHost(std::string* name) { *name = "studio"; return true; }
inline bool FixedResolve(const char*, std::uint32_t* address) { *address = 0x0100007f; return true; }
inline bool FixedReverse(std::uint32_t, std::string* name) { *name = "studio.example.org"; return true; }
inline const HeloNameSources FixedHelo{FixedHost, FixedResolve, FixedReverse};

class SubmitTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallVirtualCdText(FileText(Root + "/samples/discs/album.disc"));
        ASSERT_GT(OpenCdDevice("D:"), 0);
        DiscInfoRecord& disc = DiscInfo();
        disc.artist = "The Harbour Lights";
        disc.title = "Tides & Wakes";
        disc.trackTitles.clear();
        for (const std::string& title : AlbumTitles) {
            disc.trackTitles.push_back(title.empty() ? std::nullopt : std::optional<std::string>(title));
        }

        ProgramOptionsRecord& options = ProgramOptions();
        options.smtpServerName = "127.0.0.1";
        options.smtpReturnAddress = "listener@home.example";
        options.smtpSubmitAddress = "cddb-submit@db.example";
        options.cddbCategoryList = {"blues - Blues music", "folk - Folk music", "rock - Rock and pop"};

        workDirectory = fs::path(::testing::TempDir()) / ("submit-" + std::to_string(getpid()));
        fs::remove_all(workDirectory);
        fs::create_directories(workDirectory);
        logPath = workDirectory / "tunova.log";
        SetLogFilePath(logPath.string());
        ClearRecordedStatuses();
        ClearSubmitStatus();
        SetSubmitStatusListener(RecordStatus);
    }

    void TearDown() override {
        SetSubmitStatusListener(nullptr);
        SetLogFilePath("");
        ProgramOptions() = ProgramOptionsRecord{};
        CloseCdDevice();
        ResetDiscInfo();
        fs::remove_all(workDirectory);
    }

    // The request for the chosen category, as SubmitEntry gathers it.
    SubmitRequest Request(std::int32_t category = 1) {
        SubmitRequest request;
        EXPECT_TRUE(CollectSubmitRequest(category, &request));
        return request;
    }

    // The log's lines, without their "\r\n".
    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        std::istringstream in(FileText(logPath));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    fs::path workDirectory;
    fs::path logPath;
};

} // namespace submittest
