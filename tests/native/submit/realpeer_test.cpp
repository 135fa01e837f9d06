// One submission to a real SMTP server (aiosmtpd): it must take the mail as sent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "cddb/submit.h"
#include "cddb/xmcdwriter.h"
#include "smtppeerprocess.h"
#include "submitsetup.h"

namespace {

using namespace submittest;

// Mails the request to a real SMTP peer that stores what it receives in mailbox; false
// when the peer did not start.
bool SubmitToRealPeer(SubmitRequest request, const fs::path& mailbox) {
    SmtpPeerProcess peer(mailbox.string());
    if (peer.Port() == 0) return false;
    request.port = peer.Port();
    ConverseWithSmtpServer(request, FixedHelo);
    return true;
}

TEST_F(SubmitTest, RealSmtpServerReceivesTheEntryWithItsHeaders) {
    const fs::path mailbox = workDirectory / "mailbox.txt";
    ASSERT_TRUE(SubmitToRealPeer(Request(0), mailbox)) << "the SMTP peer did not start";
    EXPECT_EQ(SubmitStatusText(), "Successfuly submitted entry.");

    const std::string mail = FileText(mailbox);
    const std::string envelope = "MAIL FROM:listener@home.example\r\nRCPT TO:cddb-submit@db.example\r\n\r\n";
    ASSERT_EQ(mail.compare(0, envelope.size(), envelope), 0) << mail;
    const std::string content = mail.substr(envelope.size());
    const std::regex expected("Date: \\d\\d [A-Z][a-z][a-z] \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}\r\n"
                              "From: <listener@home\\.example>\r\n"
                              "Subject: cddb blues 9c0b330c\r\n"
                              "To: <cddb-submit@db\\.example>\r\n"
                              "\r\n"
                              "([^]*)");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(content, parts, expected)) << content;
    EXPECT_EQ(parts[1].str(), FileText(Root + "/tests/data/submit/album.xmcd"));
}

// What a mail program makes of the stored mail (Python's email package).
std::string AsReadByAMailProgram(const fs::path& mailbox) {
    const fs::path read = mailbox.string() + ".read";
    const std::string command = "/usr/bin/python3 " + Root + "/tools/smtppeer/readmail.py '" + mailbox.string() +
                                "' '" + read.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return FileText(read);
}

TEST_F(SubmitTest, EntryInAnyScriptReachesTheReaderAsUtf8WithTheDatesZone) {
    // Accented Latin, Japanese (longer than a line, so split between letters), Greek.
    std::string japanese;
    for (int i = 0; i < 40; ++i) japanese += "\xE6\x9D\xB1";  // 東
    DiscInfo().artist = "Caf\xC3\xA9 Se\xC3\xB1or";
    DiscInfo().trackTitles[0] = std::string("M\xC3\xBCnchen = Home");
    DiscInfo().trackTitles[4] = japanese;
    DiscInfo().trackTitles[5] = std::string("\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1");
    const fs::path mailbox = workDirectory / "mailbox.txt";
    const SubmitRequest request = Request(0);
    ASSERT_TRUE(SubmitToRealPeer(request, mailbox)) << "the SMTP peer did not start";
    ASSERT_EQ(SubmitStatusText(), "Successfuly submitted entry.");
    // Every byte on the wire is 7-bit: the dialogue began with HELO.
    for (const char c : FileText(mailbox)) ASSERT_LT(static_cast<unsigned char>(c), 128u);
    const std::string read = AsReadByAMailProgram(mailbox);
    const std::regex header("zone: [+-]\\d{4}\r\ncharset: utf-8\r\nencoding: quoted-printable\r\n\r\n([^]*)");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(read, parts, header)) << read.substr(0, 200);
    EXPECT_EQ(parts[1].str(), XmcdEntryText(request.disc)) << "the entry's bytes, decoded";
    EXPECT_NE(parts[1].str().find("TTITLE5=\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1\r\n"), std::string::npos);

    // A plain entry stays as it was, with no MIME lines; the reader still finds the zone.
    DiscInfo().artist = "Plain";
    DiscInfo().trackTitles[0] = std::string("Munich");
    DiscInfo().trackTitles[4] = std::string("Long");
    DiscInfo().trackTitles[5] = std::string("Hellas");
    ASSERT_TRUE(SubmitToRealPeer(Request(0), mailbox));
    EXPECT_EQ(FileText(mailbox).find("MIME-Version"), std::string::npos);
    const std::string plain = AsReadByAMailProgram(mailbox);
    EXPECT_TRUE(std::regex_match(plain, parts, std::regex("zone: [+-]\\d{4}\r\ncharset: [^]*"))) << plain.substr(0, 80);
}

} // namespace
