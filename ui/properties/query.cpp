#include "ui/properties/query.h"

#include <cctype>
#include <climits>

#include "cdaudio/musicbrainzid.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "musicbrainz/client.h"

namespace {

template <std::size_t Size>
void StoreText(char (&field)[Size], const std::string& text, int longest) {
    CopyText(field, Size, text.substr(0, static_cast<std::size_t>(longest)).c_str());
}

} // namespace

QueryPageValues QueryPageFromCopy(const PropertiesCopy& copy) {
    QueryPageValues page;
    page.queryLocal = copy.cddbQueryLocal != 0;
    page.rootDirectory = copy.cddbRootDirectory;
    page.queryServer = copy.cddbQueryServerAtStartup != 0;
    page.useProxy = copy.cddbUseProxy != 0;
    page.serverIndex = copy.cddbServerNum;
    page.proxyName = copy.cddbProxyName;
    page.proxyPortText = std::to_string(copy.cddbProxyPort);
    page.queryMusicBrainz = copy.MusicBrainzQuery != 0;
    return page;
}

void StoreQueryPage(const QueryPageValues& page, PropertiesCopy& copy) {
    copy.cddbQueryLocal = page.queryLocal;
    StoreText(copy.cddbRootDirectory, page.rootDirectory, QueryRootDirectoryLength);
    copy.cddbQueryServerAtStartup = page.queryServer;
    copy.cddbUseProxy = page.useProxy;
    copy.cddbServerNum = page.serverIndex;
    StoreText(copy.cddbProxyName, page.proxyName, QueryProxyNameLength);
    copy.cddbProxyPort = ProxyPortFor(page.proxyPortText, copy.cddbProxyPort);
    copy.MusicBrainzQuery = page.queryMusicBrainz;
}

int ProxyPortFor(const std::string& text, int previous) {
    const int port = ReadPortNumber(text.substr(0, QueryProxyPortLength));
    return port >= LowestPort && port <= HighestPort ? port : previous;
}

int ReadPortNumber(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        // Past int's range the value is held there; stop growing before it overflows.
        if (value <= INT_MAX) value = value * 10 + (text[at] - '0');
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

ProxyFieldStates ProxyFieldsFor(bool useProxy) { return ProxyFieldStates{!useProxy, useProxy}; }

bool CddbActionEnabled(bool lookupRunning, bool submitRunning) { return !lookupRunning && !submitRunning; }

bool HasQuerySource(const PropertiesCopy& copy) {
    return copy.cddbQueryLocal != 0 || copy.MusicBrainzQuery != 0 || copy.cddbQueryServerAtStartup != 0;
}

std::string DiscSubmissionUrl() {
    const MusicBrainzToc toc = MusicBrainzTocOfDisc();
    return MusicBrainzSubmissionUrl(ProgramOptions().MusicBrainzServer, MusicBrainzDiscIdOf(toc), toc);
}
