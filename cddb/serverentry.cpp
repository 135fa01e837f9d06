#include "cddb/serverentry.h"

#include <cctype>

#include "cddb/lineio.h"
#include "discinfo/options.h"

namespace {

// A port as written after a colon: decimal digits only, 1 to 65535.
bool ParsePort(const std::string& text, int* port) {
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    *port = value;
    return true;
}

// "host" or "host:port"; false for an empty host or a bad port.
bool ParseHostAndPort(const std::string& text, int defaultPort, std::string* host, int* port) {
    const std::size_t colon = text.find(':');
    *host = text.substr(0, colon);
    if (host->empty()) return false;
    if (colon == std::string::npos) {
        *port = defaultPort;
        return true;
    }
    return ParsePort(text.substr(colon + 1), port);
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i]; ++i) {
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

} // namespace

bool ParseServerEntry(const std::string& entry, CddbTarget* target) {
    std::size_t end = 0;
    while (end < entry.size() && !IsSeparator(static_cast<unsigned char>(entry[end]))) ++end;
    const std::string word = entry.substr(0, end);
    if (word.empty()) return false;

    CddbTarget parsed;
    if (StartsWithNoCase(word, "http://")) {
        const std::string rest = word.substr(7);
        const std::size_t slash = rest.find('/');
        parsed.transport = CddbTransport::Http;
        parsed.path = slash == std::string::npos ? "/" : rest.substr(slash);
        if (!ParseHostAndPort(rest.substr(0, slash), HttpServerPort, &parsed.host, &parsed.port)) return false;
    } else if (!ParseHostAndPort(word, CddbServerPort, &parsed.host, &parsed.port)) {
        return false;
    }
    *target = parsed;
    return true;
}

bool ChooseCddbTarget(const ProgramOptionsRecord& options, CddbTarget* target) {
    if (options.cddbUseProxy) {
        *target = CddbTarget{};
        target->host = options.cddbProxyName;
        target->port = options.cddbProxyPort;
        return true;
    }
    const std::int32_t index = options.cddbServerNum;
    if (index < 0 || static_cast<std::size_t>(index) >= options.cddbServerList.size()) return false;
    return ParseServerEntry(options.cddbServerList[static_cast<std::size_t>(index)], target);
}

std::string GreetingName(const std::string& name) {
    std::string kept;
    for (const char c : name) {
        if (!IsSeparator(static_cast<unsigned char>(c))) kept += c;
    }
    return kept.empty() ? "Unknown" : kept;
}

HelloIdentity ChooseHelloIdentity(const std::string& returnAddress, const std::string& systemUser,
                                  const std::string& systemComputer) {
    const std::size_t at = returnAddress.find('@');
    bool plain = at != std::string::npos && at > 0 && at + 1 < returnAddress.size() &&
                 returnAddress.find('@', at + 1) == std::string::npos;
    for (const char c : returnAddress) plain = plain && !IsSeparator(static_cast<unsigned char>(c));
    if (plain) return {returnAddress.substr(0, at), returnAddress.substr(at + 1)};
    return {GreetingName(systemUser), GreetingName(systemComputer)};
}
