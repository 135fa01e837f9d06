#include "cddb/server.h"

#include <cstring>
#include <memory>

#include "app/log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"
#include "cddb/querystatus.h"
#include "cddb/serverreplies.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/sockets.h"
#include "platform/sysnames.h"

namespace {

const char* const ClientVersion = "Tunova v2.21";

// The connection of one conversation and how it ends.
struct Conversation {
    SocketHandle socket = NoSocket;
    ResponseReader& reader;
    std::FILE* output;

    int Fail(const char* status) {
        CloseConnection(&socket, &reader);
        SetQueryStatus(status);
        return CddbFailure;
    }
    int Fail(const std::string& status) { return Fail(status.c_str()); }

    bool Send(const std::string& line) {
        LogMessage("Sending: ", line.c_str());
        return SendAll(socket, line.data(), static_cast<int>(line.size())) != 0;
    }

    // A status line, reassembled when the network delivered it in pieces, so that it is
    // judged whole; it is left in reader.line. A line that runs past the buffer is
    // judged by what fits, so that endless bytes without a line end cannot keep the
    // thread here. false on failure.
    bool ReadStatusLine() {
        int taken = ReadResponseLine(reader, socket);
        if (taken == 0) return false;
        std::string line = reader.line;
        while ((line.empty() || line.back() != '\n') && taken < ReceiveSize) {
            const int more = ReadResponseLine(reader, socket);
            if (more == 0) return false;
            taken += more;
            line += reader.line;
        }
        if (line.size() > ReceiveSize) line.resize(ReceiveSize);
        std::memcpy(reader.line, line.c_str(), line.size() + 1);
        LogMessage("Received: ", reader.line);
        return true;
    }

    // One piece of a data line, logged as received. false on failure.
    bool ReadPiece() {
        if (ReadResponseLine(reader, socket) == 0) return false;
        LogMessage("Received: ", reader.line);
        return true;
    }

    void Write(const char* text) { std::fputs(text, output); }
};

// An entry starts with "# xmcd", alone on its line (as servers store entries) or
// followed by a blank and more text.
bool IsXmcdHeader(const std::string& line) {
    return line.compare(0, 6, "# xmcd") == 0 && line.size() > 6 && (line[6] == ' ' || line[6] == '\n');
}

bool EndsLine(const char* piece) {
    const std::size_t length = std::strlen(piece);
    return length > 0 && piece[length - 1] == '\n';
}

// Copies data lines to the file up to the line that begins with "."; the check is made
// only where a line begins, never on the second piece of a line cut by the network.
// A "\r\n" cut between two receives arrives as a piece ending in "\r" and one starting
// with "\n"; the "\r" is held back so that the file gets the plain "\n" line end.
bool CopyUntilDot(Conversation& talk) {
    bool lineStart = true;
    bool heldReturn = false;
    for (;;) {
        if (!talk.ReadPiece()) return false;
        char* piece = talk.reader.line;
        if (heldReturn && piece[0] != '\n') talk.Write("\r");
        heldReturn = false;
        if (lineStart && piece[0] == '.') return true;
        const std::size_t length = std::strlen(piece);
        lineStart = length > 0 && piece[length - 1] == '\n';
        if (length > 0 && piece[length - 1] == '\r') {
            piece[length - 1] = '\0';
            heldReturn = true;
        }
        talk.Write(piece);
    }
}

// The word after the status code of an exact-match reply: skip the code and exactly
// one more byte; empty when a separator follows that byte.
std::string CategoryOf(const char* reply) {
    const char* p = SkipSeparators(reply);
    while (*p && !IsSeparator(static_cast<unsigned char>(*p))) ++p;
    if (*p) ++p;
    const char* end = p;
    while (*end && !IsSeparator(static_cast<unsigned char>(*end))) ++end;
    return std::string(p, end);
}

std::string SystemGreetingName(bool (*ask)(std::string*)) {
    std::string name;
    if (!ask(&name)) name.clear();
    return GreetingName(name);
}

} // namespace

bool ChooseCddbTarget(const ProgramOptionsRecord& options, CddbTarget* target) {
    if (options.cddbUseProxy) {
        target->host = options.cddbProxyName;
        target->port = options.cddbProxyPort;
        return true;
    }
    const std::int32_t index = options.cddbServerNum;
    if (index < 0 || static_cast<std::size_t>(index) >= options.cddbServerList.size()) return false;
    const std::string& entry = options.cddbServerList[static_cast<std::size_t>(index)];
    std::size_t end = 0;
    while (end < entry.size() && !IsSeparator(static_cast<unsigned char>(entry[end]))) ++end;
    if (end == 0) return false;
    target->host = entry.substr(0, end);
    target->port = CddbServerPort;
    return true;
}

std::string GreetingName(const std::string& name) {
    std::string kept;
    for (const char c : name) {
        if (!IsSeparator(static_cast<unsigned char>(c))) kept += c;
    }
    return kept.empty() ? "Unknown" : kept;
}

std::string BuildHelloLine(const std::string& user, const std::string& computer) {
    return "cddb hello " + GreetingName(user) + " " + GreetingName(computer) + " " + ClientVersion + "\n";
}

std::string BuildQueryLine(std::uint32_t discId, const TrackToc* toc, std::int32_t trackCount) {
    char text[64];
    std::snprintf(text, sizeof text, "cddb query %08x %d", static_cast<unsigned>(discId), static_cast<int>(trackCount));
    std::string line = text;
    for (std::int32_t i = 0; i < trackCount; ++i) {
        const TrackToc& track = toc[i];
        std::snprintf(text, sizeof text, " %d",
                      static_cast<int>(track.startMinute * FramesPerMinute + track.startSecond * FramesPerSecond +
                                       track.startFrame));
        line += text;
    }
    const TrackToc& leadOut = LeadOut(toc, trackCount);
    std::snprintf(text, sizeof text, " %d\n", static_cast<int>(leadOut.startMinute * 60 + leadOut.startSecond));
    return line + text;
}

int QueryServer(std::uint32_t discId, std::FILE* output) {
    LogMessageHex("Checking remote cddb server for id: ", discId);
    SetQueryStatus("Looking for server.");
    if (!SocketStartup()) {
        SetQueryStatus("Winsock initialization error.");
        return CddbFailure;
    }

    CddbTarget target;
    bool chosen;
    {
        DiscInfoHold hold; // the property sheet may be applying new cddb settings
        chosen = ChooseCddbTarget(ProgramOptions(), &target);
    }
    if (!chosen) {
        // Neither the relay nor a listed server: there is nobody to ask.
        CloseConnection(nullptr, nullptr);
        LogMessage("No cddb server selected.");
        SetQueryStatus("No cddb server selected.");
        return CddbFailure;
    }

    const CdDeviceRecord& device = CdDevice();
    const std::string query = BuildQueryLine(discId, device.toc.data(), device.trackCount);
    return ConverseWithCddbServer(target, discId, query, output);
}

int ConverseWithCddbServer(const CddbTarget& target, std::uint32_t discId, const std::string& queryLine,
                           std::FILE* output) {
    const auto reader = std::make_unique<ResponseReader>();
    Conversation talk{NoSocket, *reader, output};

    std::uint32_t address = 0;
    if (!ResolveHostAddress(target.host.c_str(), &address)) {
        CloseConnection(nullptr, nullptr);
        LogMessage("Unable to get IP address for server: ", target.host.c_str());
        SetQueryStatus("Unable to locate server.");
        return CddbFailure;
    }
    char dotted[16];
    FormatHostAddress(address, dotted, sizeof dotted);
    LogMessage("Address returned: ", dotted);

    talk.socket = CreateStreamSocket();
    if (talk.socket == NoSocket) {
        CloseConnection(nullptr, nullptr);
        LogMessage("Unable to create socket.");
        SetQueryStatus("Socket creation error.");
        return CddbFailure;
    }
    if (!ConnectSocket(talk.socket, address, target.port)) {
        LogMessage("Unable to connect to server.");
        return talk.Fail("Unable to connect to server.");
    }
    SetQueryStatus("Successful connection.");
    ResetResponseReader(talk.reader);

    std::string failure;
    if (!talk.ReadStatusLine()) {
        CloseConnection(&talk.socket, &talk.reader);
        LogMessage("Unable read sign on banner.");
        SetQueryStatus("Unable to read server sign-on.");
        return CddbFailure;
    }
    if (!JudgeSignOn(talk.reader.line, &failure)) return talk.Fail(failure);
    SetQueryStatus("Sucessfuly signed on to server.");
    if (!CheckStatusLine(talk.reader.line, talk.reader, talk.socket)) return talk.Fail("Unknown server error.");

    const std::string hello =
        BuildHelloLine(SystemGreetingName(GetSystemUserName), SystemGreetingName(GetSystemComputerName));
    SetQueryStatus("Sending handshake request.");
    if (!talk.Send(hello)) return talk.Fail("Error sending handshake request.");
    if (!talk.ReadStatusLine()) return talk.Fail("Unable to receive handshake response.");
    if (!JudgeHandshake(talk.reader.line, &failure)) return talk.Fail(failure);
    SetQueryStatus("Server handshake successful.");
    if (!CheckStatusLine(talk.reader.line, talk.reader, talk.socket)) return talk.Fail("Unknown server error.");

    SetQueryStatus("Sending query request.");
    if (!talk.Send(queryLine)) return talk.Fail("Error sending query request.");
    if (!talk.ReadStatusLine()) return talk.Fail("Unable to read query response.");
    switch (JudgeQueryReply(talk.reader.line, &failure)) {
    case QueryOutcome::ExactMatch:
        SetQueryStatus("Server query successful.");
        return ReadExactMatch(discId, output, &talk.socket, talk.reader);
    case QueryOutcome::InexactMatch:
        SetQueryStatus("Server query successful.");
        return ReadMatchList(output, &talk.socket, talk.reader);
    case QueryOutcome::NoMatch:
        CloseConnection(&talk.socket, &talk.reader);
        return CddbNoMatch;
    case QueryOutcome::Failed:
        break;
    }
    return talk.Fail(failure);
}

int ReadExactMatch(std::uint32_t discId, std::FILE* output, SocketHandle* connection, ResponseReader& reader) {
    Conversation talk{*connection, reader, output};
    *connection = NoSocket; // the conversation owns and closes it from here on
    LogMessage("Processing exact match.");

    // Held whole, whatever its length: a long word must not overrun anything.
    const std::string category = CategoryOf(reader.line);
    const std::string reply = SkipSeparators(reader.line);
    if (!CheckStatusLine(reply.c_str(), talk.reader, talk.socket)) return talk.Fail("Unknown server error.");

    char text[64];
    std::snprintf(text, sizeof text, "#FILENAME=%08x\n", static_cast<unsigned>(discId));
    talk.Write(text);

    std::snprintf(text, sizeof text, " %08x\n", static_cast<unsigned>(discId));
    SetQueryStatus("Sending CD information request.");
    if (!talk.Send("cddb read " + category + text)) return talk.Fail("Error sending CD information request.");
    if (!talk.ReadStatusLine()) return talk.Fail("Unable to receive CD information response.");
    std::string failure;
    if (!JudgeReadReply(talk.reader.line, &failure)) return talk.Fail(failure);

    SetQueryStatus("Reading CD information.");
    // The header line, gathered until it can be told apart from anything else.
    if (!talk.ReadPiece()) return talk.Fail("Unknown error while reading CD information.");
    std::string header = talk.reader.line;
    while (header.size() < 7 && !EndsLine(header.c_str())) {
        if (!talk.ReadPiece()) return talk.Fail("Unknown error while reading CD information.");
        header += talk.reader.line;
    }
    if (!IsXmcdHeader(header)) return talk.Fail("Unknown file type returned for CD information.");
    talk.Write(header.c_str());
    if (!EndsLine(header.c_str())) {
        // The rest of a header line cut by the network.
        do {
            if (!talk.ReadPiece()) return talk.Fail("Unknown error while reading CD information.");
            talk.Write(talk.reader.line);
        } while (!EndsLine(talk.reader.line));
    }
    if (!CopyUntilDot(talk)) return talk.Fail("Unknown error while reading CD information.");

    CloseConnection(&talk.socket, &talk.reader);
    LogMessage("Found current CD with exact match.");
    return CddbExactMatch;
}

int ReadMatchList(std::FILE* output, SocketHandle* connection, ResponseReader& reader) {
    Conversation talk{*connection, reader, output};
    *connection = NoSocket;
    LogMessage("Processing inexact match.");
    if (!CopyUntilDot(talk)) return talk.Fail("Unknown error while reading CD information.");
    CloseConnection(&talk.socket, &talk.reader);
    LogMessage("Found possible matches for current CD.");
    return CddbInexactMatch;
}
