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

std::string MailDateLine(const std::tm& localTime) {
    char text[128];
    if (std::strftime(text, sizeof text, "Date: %d %b %Y %X\r\n", &localTime) == 0) return "Date: \r\n";
    return text;
}

std::string MailDateLineNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    // The Windows runtime keeps localtime's result per thread.
    local = *std::localtime(&now);
#else
    localtime_r(&now, &local);
#endif
    return MailDateLine(local);
}

std::vector<std::string> MailHeaderLines(const std::string& dateLine, const std::string& returnAddress,
                                         const std::string& category, std::uint32_t discId,
                                         const std::string& submitAddress) {
    char id[16];
    std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(discId));
    return {
        dateLine,
        "From: <" + OneLineText(returnAddress) + ">\r\n",
        "Subject: cddb " + OneLineText(category) + " " + id + "\r\n",
        "To: <" + OneLineText(submitAddress) + ">\r\n",
        "\r\n",
    };
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
