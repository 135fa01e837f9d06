// The cddb Query page's controls as plain values, and the rules that move them to and
// from the copy's cddb query settings.
#pragma once

#include <string>

struct PropertiesCopy;

// The longest texts the page keeps of its fields (the copy's buffers with their
// terminators, the port as a number's text).
constexpr int QueryRootDirectoryLength = 255;
constexpr int QueryProxyNameLength = 39;
constexpr int QueryProxyPortLength = 11;

struct QueryPageValues {
    bool queryLocal = false;
    std::string rootDirectory;
    bool queryServer = false;
    bool useProxy = false;
    int serverIndex = -1;  // the drop-down's selection, -1 for none
    std::string proxyName;
    std::string proxyPortText;
    bool queryMusicBrainz = false;
};

QueryPageValues QueryPageFromCopy(const PropertiesCopy& copy);
// Texts longer than the page keeps are cut to their lengths above; a port text that
// names no port (see ProxyPortFor) keeps the copy's port.
void StoreQueryPage(const QueryPageValues& page, PropertiesCopy& copy);

// The lowest and highest TCP port.
constexpr int LowestPort = 1;
constexpr int HighestPort = 65535;
// The port a port field's text stands for: its number when that is a TCP port, else
// previous (0, a negative number, one above 65535, or no number at all).
int ProxyPortFor(const std::string& text, int previous);

// The port field read as a decimal number: leading blanks, an optional sign, then the
// digits up to the first other character; no digits give 0, and a number beyond the
// range of int is held at its end.
int ReadPortNumber(const std::string& text);

// With a proxy the server list is unusable and the proxy fields usable; without one
// the reverse.
struct ProxyFieldStates {
    bool serverList = false;
    bool proxyFields = false;
};
ProxyFieldStates ProxyFieldsFor(bool useProxy);

// "Query cddb Now" and "Submit New Entry Now" are usable only while neither a lookup nor
// a submission runs.
bool CddbActionEnabled(bool lookupRunning, bool submitRunning);

// A query needs at least one source: the local database, MusicBrainz or a cddb server.
bool HasQuerySource(const PropertiesCopy& copy);

// The page where MusicBrainz takes the disc in the drive ("Submit to MusicBrainz"), at
// the server of the options.
std::string DiscSubmissionUrl();
