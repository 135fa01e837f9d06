// The parts of a submission mail that do not depend on the connection: the header
// lines, the HELO line and the protection of the data phase.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

constexpr int SmtpPort = 25;

// The category word of a cddbCategoryList entry: the entry cut at its first separator.
std::string CategoryWord(const std::string& entry);

// "Date: %d %b %Y %X +hhmm\r\n" of the given local time and its distance from UTC in
// minutes (east positive), the zone written as the mail standard requires it.
std::string MailDateLine(const std::tm& localTime, int utcOffsetMinutes);
// The same for the present moment, in the system's local time.
std::string MailDateLineNow();
// Minutes by which the local time at that moment is ahead of UTC.
int LocalUtcOffsetMinutes(std::time_t moment);

// The header lines, "Date:" first and the empty line last. Addresses are put on one line
// each (CR and LF become blanks) so that no value can add a header. A non-empty charset
// adds the MIME lines that announce a quoted-printable text body in that character set.
std::vector<std::string> MailHeaderLines(const std::string& dateLine, const std::string& returnAddress,
                                         const std::string& category, std::uint32_t discId,
                                         const std::string& submitAddress, const std::string& charset = "");

// True when the text holds a byte above 127, which a plain mail cannot carry.
bool HasEightBitBytes(const std::string& text);
// Whole lines ending in "\r\n" in the quoted-printable encoding: bytes above 126, "="
// and a blank or tab before the line end as "=XX", lines longer than 76 characters broken
// with a soft "=" line end.
std::string QuotedPrintable(const std::string& lines);

// Mail data with a "." added in front of every line that begins with ".", so that no
// line of the text can end the data phase early.
std::string DotStuffed(const std::string& text);

// Where the HELO name comes from: the local host name, its address, and the name of
// that address by a reverse lookup. Each returns false when it fails.
struct HeloNameSources {
    bool (*hostName)(std::string* name);
    bool (*resolve)(const char* host, std::uint32_t* address);
    bool (*reverse)(std::uint32_t address, std::string* name);
};
const HeloNameSources& SystemHeloNameSources();

// "HELO <name>\r\n": the reverse-looked-up name of the local host when that works, else
// its plain name, and "HELO Unknown\r\n" when even that is unknown.
std::string HeloLine(const HeloNameSources& sources);
