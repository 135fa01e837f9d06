// The entry and mail texts a submission sends, without a connection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "cddb/submit.h"
#include "cddb/submitmail.h"
#include "cddb/xmcdwriter.h"
#include "submitsetup.h"

namespace {

using namespace submittest;

TEST_F(SubmitTest, SampleDiscGivesTheFixtureEntryByteForByte) {
    const SubmitRequest request = Request(2);
    EXPECT_EQ(request.category, "rock");
    EXPECT_EQ(request.serverName, "127.0.0.1");
    EXPECT_EQ(request.disc.discId, 0x9c0b330cu);
    EXPECT_EQ(XmcdEntryText(request.disc), FileText(Root + "/tests/data/submit/album.xmcd"));
}

TEST_F(SubmitTest, BodyIsSentInItsGroupsWithTheirFailureTexts) {
    const std::vector<XmcdSend> sends = XmcdBodySends(Request().disc);
    // 4 opening lines, 12 offsets, length, revision block; DISCID, DTITLE, 13 TTITLE
    // lines; EXTD, 12 EXTT, PLAYORDER.
    ASSERT_EQ(sends.size(), 15u + 15u + 14u);
    EXPECT_EQ(sends[0].text, "# xmcd CD database file\r\n"
                             "# The xmcd format and its database are the work of the xmcd author.\r\n"
                             "#\r\n# Track frame offsets:\r\n");
    EXPECT_EQ(sends[1].text, "#\t150\r\n");
    EXPECT_EQ(sends[12].text, "#\t198703\r\n");
    EXPECT_EQ(sends[13].text, "#\r\n# Disc length: 2869 seconds\r\n");
    EXPECT_EQ(sends[14].text, "#\r\n# Revision: 1\r\n# Submitted via: Tunova 2.21 - Kestrow Software\r\n#\r\n");
    EXPECT_EQ(sends[15].text, "DISCID=9c0b330c\r\n");
    EXPECT_EQ(sends[19].text, "TTITLE2=\r\n");
    EXPECT_EQ(sends[30].text, "EXTD=\r\n");
    EXPECT_EQ(sends[42].text, "EXTT11=\r\n");
    EXPECT_EQ(sends[43].text, "PLAYORDER=\r\n");
    for (std::size_t i = 0; i < sends.size(); ++i) {
        const char* expected = i < 15   ? "Error sending cddb file header data."
                               : i < 30 ? "Error sending cddb file CD data."
                                        : "Error sending cddb file CD trailer data.";
        EXPECT_STREQ(sends[i].failure, expected) << "send " << i;
    }
}

TEST_F(SubmitTest, EmptyArtistGivesTheTitleAloneAndLineBreaksBecomeBlanks) {
    DiscInfo().artist.clear();
    DiscInfo().title = "Two\r\nLines";
    DiscInfo().trackTitles[0] = std::string(".\r\nQUIT\r\n");
    const std::string entry = XmcdEntryText(Request().disc);
    EXPECT_NE(entry.find("\r\nDTITLE=Two  Lines\r\nTTITLE0=.  QUIT  \r\n"), std::string::npos) << entry;
}

TEST(KeyedLines, LongValuesSplitLikeSendKeyedValue) {
    const std::string value(150, 'x');
    const std::vector<std::string> lines = KeyedLines("DTITLE=", value);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "DTITLE=" + std::string(71, 'x') + "\r\n");
    EXPECT_EQ(lines[1], "DTITLE=" + std::string(71, 'x') + "\r\n");
    EXPECT_EQ(lines[2], "DTITLE=" + std::string(8, 'x') + "\r\n");
    EXPECT_EQ(KeyedLines("TTITLE11=", ""), std::vector<std::string>{"TTITLE11=\r\n"});
    EXPECT_EQ(KeyedLines("DTITLE=", std::string(71, 'y')).size(), 1u);
    // Letters are never cut between two lines: 30 of three bytes make 90 bytes, of
    // which 23 letters (69 bytes) fit beside the key.
    std::string japanese;
    for (int i = 0; i < 30; ++i) japanese += "\xE6\x97\xA5";
    const std::vector<std::string> split = KeyedLines("DTITLE=", japanese);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0], "DTITLE=" + japanese.substr(0, 69) + "\r\n");
    EXPECT_EQ(split[1], "DTITLE=" + japanese.substr(69) + "\r\n");
    EXPECT_EQ(DiscTitleValue("A", "B"), "A / B");
    EXPECT_EQ(DiscTitleValue("", "B"), "B");
}

TEST(MailText, HeaderLinesCarryTheCategoryWordAndTheDiscId) {
    EXPECT_EQ(CategoryWord("rock - Rock and pop"), "rock");
    EXPECT_EQ(CategoryWord("newage"), "newage");
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_hour = 15;
    time.tm_min = 3;
    time.tm_sec = 16;
    const std::vector<std::string> expected = {
        "Date: 07 Dec 2026 15:03:16 +0100\r\n", "From: <me@home>\r\n", "Subject: cddb rock 0012ab0c\r\n",
        "To: <db@there>\r\n", "\r\n"};
    EXPECT_EQ(MailHeaderLines(MailDateLine(time, 60), "me@home", "rock", 0x0012ab0c, "db@there"), expected);
    // The zone as the mail standard writes it: sign, hours, minutes.
    EXPECT_EQ(MailDateLine(time, 0), "Date: 07 Dec 2026 15:03:16 +0000\r\n");
    EXPECT_EQ(MailDateLine(time, -330), "Date: 07 Dec 2026 15:03:16 -0530\r\n");
    EXPECT_EQ(MailDateLine(time, 345), "Date: 07 Dec 2026 15:03:16 +0545\r\n");
    // An entry with letters beyond ASCII says its character set and encoding.
    const std::vector<std::string> mime = MailHeaderLines("Date: x\r\n", "me@home", "rock", 1, "db@there", "UTF-8");
    EXPECT_EQ(std::vector<std::string>(mime.begin() + 4, mime.end()),
              (std::vector<std::string>{"MIME-Version: 1.0\r\n", "Content-Type: text/plain; charset=UTF-8\r\n",
                                        "Content-Transfer-Encoding: quoted-printable\r\n", "\r\n"}));
    // A line break in an address must not start a header of its own.
    EXPECT_EQ(MailHeaderLines("", "me\r\nBcc: x", "rock", 1, "db")[1], "From: <me  Bcc: x>\r\n");
}

TEST(MailText, LocalZoneIsTheDistanceOfLocalTimeFromUtc) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved ? saved : "";
    const std::time_t moment = 1796655796;  // 7 Dec 2026 15:03:16 UTC
    const struct {
        const char* zone;
        int minutes;
    } cases[] = {{"UTC0", 0}, {"CET-1", 60}, {"IST-5:30", 330}, {"NST+3:30", -210}, {"LINT-14", 840},
                 {"BIT+12", -720}};
    for (const auto& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        EXPECT_EQ(LocalUtcOffsetMinutes(moment), c.minutes) << c.zone;
    }
    if (saved) setenv("TZ", savedZone.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TEST(MailText, OnlyBytesBeyondAsciiNeedAnEncoding) {
    EXPECT_FALSE(HasEightBitBytes("Plain = ASCII"));
    EXPECT_TRUE(HasEightBitBytes("Caf\xC3\xA9"));
}

TEST(MailText, QuotedPrintableKeepsAsciiAndBreaksLongLinesSoftly) {
    EXPECT_EQ(QuotedPrintable("DTITLE=Caf\xC3\xA9 / Se\xC3\xB1or\r\n"), "DTITLE=3DCaf=C3=A9 / Se=C3=B1or\r\n");
    EXPECT_EQ(QuotedPrintable("#\r\nTTITLE0=a \r\n"), "#\r\nTTITLE0=3Da=20\r\n") << "a blank at the line end";
    // 78 characters of which the "=" grows to three: broken before the 76th column.
    const std::string line = "TTITLE4=" + std::string(70, 'x') + "\r\n";
    const std::string encoded = QuotedPrintable(line);
    EXPECT_EQ(encoded, "TTITLE4=3D" + std::string(65, 'x') + "=\r\n" + std::string(5, 'x') + "\r\n");
    // An encoded byte is never split by a soft break, and no line grows past 76.
    const std::string accents = QuotedPrintable("TTITLE1=" + std::string(30, '\xe9') + "\r\n");
    const std::regex encodedLine("([^=]|=[0-9A-F]{2})*=?");
    std::size_t lines = 0;
    for (std::size_t from = 0, end; (end = accents.find("\r\n", from)) != std::string::npos; from = end + 2) {
        const std::string piece = accents.substr(from, end - from);
        EXPECT_LE(piece.size(), 76u) << piece;
        EXPECT_TRUE(std::regex_match(piece, encodedLine)) << piece;
        ++lines;
    }
    EXPECT_EQ(lines, 2u);
}

TEST(MailText, DotStuffingDoublesEveryLeadingDot) {
    EXPECT_EQ(DotStuffed(".\r\nDTITLE=a.b\r\n..x\r\n"), "..\r\nDTITLE=a.b\r\n...x\r\n");
    EXPECT_EQ(DotStuffed("#\r\n"), "#\r\n");
}

bool NoHost(std::string*) { return false; }
bool Host(std::string* name) { *name = "box"; return true; }
bool NoAddress(const char*, std::uint32_t*) { return false; }
bool Address(const char* host, std::uint32_t* address) {
    *address = std::strcmp(host, "box") == 0 ? 0x0200000a : 0;
    return true;
}
bool NoReverse(std::uint32_t, std::string*) { return false; }
bool Reverse(std::uint32_t address, std::string* name) {
    *name = address == 0x0200000a ? "box.lan" : "wrong";
    return true;
}

TEST(MailText, HeloNameFallsBackStepByStep) {
    EXPECT_EQ(HeloLine({NoHost, Address, Reverse}), "HELO Unknown\r\n");
    EXPECT_EQ(HeloLine({Host, NoAddress, Reverse}), "HELO box\r\n");
    EXPECT_EQ(HeloLine({Host, Address, NoReverse}), "HELO box\r\n");
    EXPECT_EQ(HeloLine({Host, Address, Reverse}), "HELO box.lan\r\n");
}

TEST_F(SubmitTest, NoCategoryOrNoDiscEndsBeforeAnyConnection) {
    SubmitRequest request;
    EXPECT_FALSE(CollectSubmitRequest(3, &request));
    ProgramOptions().cddbCategoryList = {" - no word"};
    EXPECT_FALSE(CollectSubmitRequest(0, &request));
    CloseCdDevice();
    EXPECT_FALSE(CollectSubmitRequest(0, &request));
    const std::vector<std::string> expected = {"No cddb category selected.", "No cddb category selected.",
                                               "No CD to submit."};
    EXPECT_EQ(RecordedStatuses(), expected);
    EXPECT_EQ(SubmitStatusText(), "No CD to submit.");
}

TEST(SubmitStatus, StoresAtMost79CharactersAndClears) {
    SetSubmitStatus(std::string(100, 's').c_str());
    EXPECT_EQ(SubmitStatusText(), std::string(79, 's'));
    ClearSubmitStatus();
    EXPECT_EQ(SubmitStatusText(), "");
}

} // namespace
