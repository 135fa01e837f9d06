// The system's ANSI code page where it still holds: the Windows CD Player's
// Cdplayer.ini, and the registry records an earlier version wrote or reads through the
// narrow calls. CTest runs this program twice, in the Western European page (1252) and
// in the Japanese one (932), as TUNOVA_TEST_CODE_PAGE says (cmake/Tests.cmake).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cdaudio/cddevice.h"
#include "discinfo/cdplayerini.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"
#include "platform/ansitext.h"
#include "platform/utf8text.h"
#include "platform/win32/widetext.h"
#include "tests/support/insertdisc.h"
#include "tests/support/win32/scratchregistry.h"

namespace {

// Texts in the page's own bytes, as an earlier program wrote them, and as UTF-8.
struct PageTexts {
    unsigned codePage;
    std::string artist, artistUtf8;
    std::string title, titleUtf8;
    std::string track, trackUtf8;
};

const PageTexts Western = {
    1252,
    "Mot\xF6rhead \x96 Caf\xE9 \x80", "Mot\xC3\xB6rhead \xE2\x80\x93 Caf\xC3\xA9 \xE2\x82\xAC",  // Motörhead – Café €
    "\xC7\xE0 et l\xE0", "\xC3\x87\xC3\xA0 et l\xC3\xA0",                                      // Çà et là
    "Na\xEFve \x93Song\x94", "Na\xC3\xAFve \xE2\x80\x9CSong\xE2\x80\x9D",                      // Naïve “Song”
};

// Letters of two bytes, one whose second byte is a backslash (表, ソ), and half-width
// katakana of one byte.
const PageTexts Japanese = {
    932,
    "\x90\x58\x82\xCC\x89\xB9\x8A\x79\x91\xE0", "\xE6\xA3\xAE\xE3\x81\xAE\xE9\x9F\xB3\xE6\xA5\xBD\xE9\x9A\x8A",  // 森の音楽隊
    "\x93\x8C\x8B\x9E\x82\xCC\x96\xE9", "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE\xE5\xA4\x9C",                      // 東京の夜
    "\x95\x5C\x83\x5C \xB1\xB2\xB3", "\xE8\xA1\xA8\xE3\x82\xBD \xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3",            // 表ソ ｱｲｳ
};

// Thai letters, in neither page: an earlier version gets "?" for each.
const char* const Thai = "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2";

unsigned ExpectedCodePage() {
    const char* page = std::getenv("TUNOVA_TEST_CODE_PAGE");
    return page ? static_cast<unsigned>(std::strtoul(page, nullptr, 10)) : 0;
}

const PageTexts& Texts() { return ExpectedCodePage() == 932 ? Japanese : Western; }

class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        InsertDiscOfTracks(2);
        ResetDiscInfo();
        DiscInfo().trackTitles.assign(2, std::nullopt);
    }
    void TearDown() override {
        ResetDiscInfo();
        CdDevice().trackCount = 0;
        CdDevice().toc.clear();
    }
};

// A run in another page than asked for would test nothing it claims to.
TEST_F(CodePageTest, RunsInTheCodePageItWasStartedFor) {
    ASSERT_NE(ExpectedCodePage(), 0u) << "TUNOVA_TEST_CODE_PAGE is not set";
    EXPECT_EQ(GetACP(), ExpectedCodePage());
}

TEST_F(CodePageTest, SystemsAnsiTextBecomesItsLetters) {
    const PageTexts& page = Texts();
    EXPECT_EQ(AnsiToUtf8(page.artist), page.artistUtf8);
    EXPECT_EQ(AnsiToUtf8(page.track), page.trackUtf8);
    if (page.codePage == 1252) {
        // The native builds stand in with this page: they must read every byte alike.
        for (int byte = 1; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            EXPECT_EQ(Latin1ToUtf8(one), AnsiToUtf8(one)) << "byte " << byte;
        }
    }
}

// The Windows CD Player wrote its file in the system's page: it imports exactly.
TEST_F(CodePageTest, CdplayerIniImportsInTheSystemsCodePage) {
    const PageTexts& page = Texts();
    wchar_t windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring path = std::wstring(windows) + L"\\Cdplayer.ini";
    {
        std::ofstream file(std::filesystem::path(path), std::ios::binary);
        file << "[3A5B1C02]\r\nartist=" << page.artist << "\r\ntitle=" << page.title << "\r\n1=" << page.track
             << "\r\nnumtracks=2\r\n";
    }
    EXPECT_EQ(ImportCdplayerIni(), 1);
    DeleteFileW(path.c_str());
    EXPECT_EQ(DiscInfo().artist, page.artistUtf8);
    EXPECT_EQ(DiscInfo().title, page.titleUtf8);
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>(page.trackUtf8));
}

const char* const ScratchPath = "Software\\Tunova Test\\codepage";
const char* const RecordPath = "SOFTWARE\\Kestrow Software\\Tunova\\2.20\\CD Information\\3A5B1C02";

// A record an earlier version wrote with RegSetValueExA reads back letter for letter.
TEST_F(CodePageTest, RecordWrittenByTheNarrowCallsReadsBackTheSame) {
    const PageTexts& page = Texts();
    InstalledScratchRegistry scratch(ScratchPath);
    ASSERT_TRUE(scratch.Ready());
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ScratchPath, 0, KEY_ALL_ACCESS, &root), ERROR_SUCCESS);
    HKEY record = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, RecordPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &record, nullptr),
              ERROR_SUCCESS);
    const auto set = [record](const char* name, const std::string& text) {
        RegSetValueExA(record, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    };
    set("Artist", page.artist);
    set("Title", page.title);
    set("Track #2", page.track);
    RegCloseKey(record);
    RegCloseKey(root);

    ASSERT_EQ(LoadDiscFromRegistry(), 1);
    EXPECT_EQ(DiscInfo().artist, page.artistUtf8);
    EXPECT_EQ(DiscInfo().title, page.titleUtf8);
    EXPECT_EQ(DiscInfo().trackTitles[1], std::optional<std::string>(page.trackUtf8));
}

// An earlier version reading a new record gets its page's conversion: the letters the
// page has as they were, "?" for those it lacks.
TEST_F(CodePageTest, EarlierVersionReadsANewRecordInItsCodePage) {
    const PageTexts& page = Texts();
    InstalledScratchRegistry scratch(ScratchPath);
    ASSERT_TRUE(scratch.Ready());
    HKEY versionKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(ScratchPath) + "\\" + DiscKeyTable[0]).c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &versionKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(versionKey);
    DiscInfo().artist = page.artistUtf8;
    DiscInfo().trackTitles[0] = std::string(Thai) + " " + page.trackUtf8;
    SaveDiscToRegistry();

    HKEY record = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(ScratchPath) + "\\" + RecordPath).c_str(), 0, KEY_READ,
                            &record),
              ERROR_SUCCESS);
    const auto narrow = [record](const char* name) {
        char data[512] = {};
        DWORD size = sizeof data;
        if (RegQueryValueExA(record, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            return std::string("<missing>");
        return std::string(data);
    };
    EXPECT_EQ(narrow("Artist"), page.artist);
    EXPECT_EQ(narrow("Track #1"), "??? " + page.track);
    RegCloseKey(record);
}

} // namespace
