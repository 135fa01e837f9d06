// One submission to a real SMTP server (aiosmtpd): it must take the mail as sent.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cddb/submit.h"
#include "smtppeerprocess.h"
#include "submitsetup.h"

namespace {

using namespace submittest;

TEST_F(SubmitTest, RealSmtpServerReceivesTheEntryWithItsHeaders) {
    const fs::path mailbox = workDirectory / "mailbox.txt";
    SubmitRequest request = Request(0);
    {
        SmtpPeerProcess peer(mailbox.string());
        ASSERT_NE(peer.Port(), 0) << "the SMTP peer did not start";
        request.port = peer.Port();
        ConverseWithSmtpServer(request, FixedHelo);
    }
    EXPECT_EQ(SubmitStatusText(), "Successfuly submitted entry.");

    const std::string mail = ReadAll(mailbox);
    const std::string envelope = "MAIL FROM:listener@home.example\r\nRCPT TO:cddb-submit@db.example\r\n\r\n";
    ASSERT_EQ(mail.compare(0, envelope.size(), envelope), 0) << mail;
    const std::string content = mail.substr(envelope.size());
    const std::regex expected("Date: \\d\\d [A-Z][a-z][a-z] \\d{4} \\d\\d:\\d\\d:\\d\\d\r\n"
                              "From: <listener@home\\.example>\r\n"
                              "Subject: cddb blues 9c0b330c\r\n"
                              "To: <cddb-submit@db\\.example>\r\n"
                              "\r\n"
                              "([^]*)");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(content, parts, expected)) << content;
    EXPECT_EQ(parts[1].str(), ReadAll(Root + "/tests/data/submit/album.xmcd"));
}

} // namespace
