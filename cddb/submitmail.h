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

// "Date: %d %b %Y %X\r\n" of the given local time.
std::string MailDateLine(const std::tm& localTime);
// The same for the present moment.
std::string MailDateLineNow();

// The five header lines, "Date:" first and the empty line last. Addresses are put on
// one line each (CR and LF become blanks) so that no value can add a header.
std::vector<std::string> MailHeaderLines(const std::string& dateLine, const std::string& returnAddress,
                                         const std::string& category, std::uint32_t discId,
                                         const std::string& submitAddress);

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
