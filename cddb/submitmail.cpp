#include "cddb/submitmail.h"

#include <cstdio>

#include "cddb/lineio.h"
#include "cddb/xmcdwriter.h"
#include "platform/sockets.h"
#include "platform/sysnames.h"

std::string CategoryWord(const std::string& entry) {
    std::size_t end = 0;
    while (end < entry.size() && !IsSeparator(static_cast<unsigned char>(entry[end]))) ++end;
    return entry.substr(0, end);
}

std::string MailDateLine(const std::tm& localTime, int utcOffsetMinutes) {
    char text[128];
    if (std::strftime(text, sizeof text, "Date: %d %b %Y %X", &localTime) == 0) return "Date: \r\n";
    const int distance = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char zone[16];
    std::snprintf(zone, sizeof zone, " %c%02d%02d\r\n", utcOffsetMinutes < 0 ? '-' : '+', distance / 60 % 100,
                  distance % 60);
    return text + std::string(zone);
}

int LocalUtcOffsetMinutes(std::time_t moment) {
    std::tm local{};
    std::tm utc{};
#ifdef _WIN32
    // The Windows runtime keeps these results per thread.
    local = *std::localtime(&moment);
    utc = *std::gmtime(&moment);
#else
    localtime_r(&moment, &local);
    gmtime_r(&moment, &utc);
#endif
    // The two broken-down times of one moment differ by less than a day either way.
    int days = local.tm_yday - utc.tm_yday;
    if (local.tm_year != utc.tm_year) days = local.tm_year > utc.tm_year ? 1 : -1;
    return ((days * 24 + local.tm_hour - utc.tm_hour) * 60) + local.tm_min - utc.tm_min;
}

std::string MailDateLineNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    local = *std::localtime(&now);
#else
    localtime_r(&now, &local);
#endif
    return MailDateLine(local, LocalUtcOffsetMinutes(now));
}

std::vector<std::string> MailHeaderLines(const std::string& dateLine, const std::string& returnAddress,
                                         const std::string& category, std::uint32_t discId,
                                         const std::string& submitAddress, const std::string& charset) {
    char id[16];
    std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(discId));
    std::vector<std::string> lines = {
        dateLine,
        "From: <" + OneLineText(returnAddress) + ">\r\n",
        "Subject: cddb " + OneLineText(category) + " " + id + "\r\n",
        "To: <" + OneLineText(submitAddress) + ">\r\n",
    };
    if (!charset.empty()) {
        lines.push_back("MIME-Version: 1.0\r\n");
        lines.push_back("Content-Type: text/plain; charset=" + OneLineText(charset) + "\r\n");
        lines.push_back("Content-Transfer-Encoding: quoted-printable\r\n");
    }
    lines.push_back("\r\n");
    return lines;
}

bool HasEightBitBytes(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 127) return true;
    return false;
}

std::string QuotedPrintable(const std::string& lines) {
    static const char hex[] = "0123456789ABCDEF";
    constexpr std::size_t longest = 76;
    std::string encoded;
    std::size_t lineStart = 0;
    while (lineStart < lines.size()) {
        std::size_t lineEnd = lines.find("\r\n", lineStart);
        const bool ended = lineEnd != std::string::npos;
        if (!ended) lineEnd = lines.size();
        std::string line;
        std::size_t width = 0;
        for (std::size_t at = lineStart; at < lineEnd; ++at) {
            const unsigned char c = static_cast<unsigned char>(lines[at]);
            const bool last = at + 1 == lineEnd;
            std::string piece;
            if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last)) {
                piece.assign(1, static_cast<char>(c));
            } else {
                piece = {'=', hex[c >> 4], hex[c & 15]};
            }
            // Room for the soft line end's "=" unless this piece ends the line.
            const std::size_t room = last ? longest : longest - 1;
            if (width + piece.size() > room) {
                encoded += line + "=\r\n";
                line.clear();
                width = 0;
            }
            line += piece;
            width += piece.size();
        }
        encoded += line;
        if (ended) encoded += "\r\n";
        lineStart = ended ? lineEnd + 2 : lineEnd;
    }
    return encoded;
}

std::string DotStuffed(const std::string& text) {
    std::string stuffed;
    stuffed.reserve(text.size());
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && c == '.') stuffed += '.';
        stuffed += c;
        lineStart = c == '\n';
    }
    return stuffed;
}

const HeloNameSources& SystemHeloNameSources() {
    static const HeloNameSources sources{GetSystemHostName, ResolveHostAddress, LookUpAddressName};
    return sources;
}

std::string HeloLine(const HeloNameSources& sources) {
    std::string name;
    if (!sources.hostName(&name) || name.empty()) return "HELO Unknown\r\n";
    std::uint32_t address = 0;
    std::string canonical;
    if (sources.resolve(name.c_str(), &address) && sources.reverse(address, &canonical) && !canonical.empty()) {
        name = canonical;
    }
    return "HELO " + OneLineText(name) + "\r\n";
}
