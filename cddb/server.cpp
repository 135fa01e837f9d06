#include "cddb/server.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>

#include "log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"
#include "cddb/lineio.h"
#include "discinfo/querystatus.h"
#include "cddb/serverreplies.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/sockets.h"
#include "platform/sysnames.h"

namespace {

const char* const ClientName = "Tunova";
const char* const ClientVersion = "v2.21";
const char* const TooLarge = "Server reply too large.";
const char* const TooSlow = "Server took too long to answer.";
const char* const ReadingFailed = "Unknown error while reading CD information.";
// More header lines than any cddb script sends.
constexpr int HttpHeaderLineLimit = 64;

std::atomic<long> dataReplyLimit{DataReplyLimit};
std::atomic<int> conversationSeconds{ConversationSecondsLimit};

// What one conversation asks: the query of the disc, or the read of a chosen entry.
struct Request {
    std::string queryLine;    // empty for a read
    std::string readCategory; // the chosen entry's category
    std::uint32_t discId = 0;
};

// The connection of one conversation and how it ends.
class Conversation {
public:
    Conversation(const CddbTarget& target, const HelloIdentity& identity, std::FILE* output)
        : reader(std::make_unique<ResponseReader>()), target_(target), identity_(identity), output_(output) {}

    int Fail(const char* status) {
        CloseConnection(&socket_, reader.get());
        SetQueryStatus(limitStatus_ ? limitStatus_ : status);
        return CddbFailure;
    }
    int Fail(const std::string& status) { return Fail(status.c_str()); }

    // Resolves and connects for the first time; sets the status texts of a failure.
    bool Open() {
        if (!ResolveHostAddress(target_.host.c_str(), &address_)) {
            CloseConnection(nullptr, nullptr);
            LogMessage("Unable to get IP address for server: ", target_.host.c_str());
            SetQueryStatus("Unable to locate server.");
            return false;
        }
        char dotted[16];
        FormatHostAddress(address_, dotted, sizeof dotted);
        LogMessage("Address returned: ", dotted);
        deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(conversationSeconds.load());
        if (!Connect()) return false;
        SetQueryStatus("Successful connection.");
        return true;
    }

    bool Http() const { return target_.transport == CddbTransport::Http; }

    // cddbp: the banner, the greeting and the protocol level. Over HTTP there is none of
    // them (the request itself asks for level 6).
    int SignOn() {
        if (Http()) return 1;
        std::string failure;
        if (!ReadStatusLine()) {
            if (limitStatus_) return Fail(TooSlow);
            CloseConnection(&socket_, reader.get());
            LogMessage("Unable read sign on banner.");
            SetQueryStatus("Unable to read server sign-on.");
            return CddbFailure;
        }
        if (!JudgeSignOn(reader->line, &failure)) return Fail(failure);
        SetQueryStatus("Sucessfuly signed on to server.");
        if (!CheckStatus(reader->line)) return Fail("Unknown server error.");

        SetQueryStatus("Sending handshake request.");
        if (!Send(BuildHelloLine(identity_.user, identity_.host))) return Fail("Error sending handshake request.");
        if (!ReadStatusLine()) return Fail("Unable to receive handshake response.");
        if (!JudgeHandshake(reader->line, &failure)) return Fail(failure);
        SetQueryStatus("Server handshake successful.");
        if (!CheckStatus(reader->line)) return Fail("Unknown server error.");

        // Level 6 makes the server send its entries in UTF-8. A server that knows no
        // such level refuses it and goes on at its own; its entries then read as UTF-8
        // or else Latin-1 all the same, so the refusal ends nothing.
        if (!Send("proto 6\n")) return Fail("Error sending handshake request.");
        if (!ReadStatusLine()) return Fail("Unable to receive handshake response.");
        return 1;
    }

    // Sends one command ("cddb ...\n") and leaves the reply's status line in
    // reader->line: on the open connection in cddbp, as a request of its own over HTTP.
    // On failure the conversation has failed with sendFailure or readFailure.
    bool Ask(const std::string& command, const char* sendFailure, const char* readFailure) {
        if (!Http()) {
            if (!Send(command)) return Fail(sendFailure), false;
            if (!ReadStatusLine()) return Fail(readFailure), false;
            return true;
        }
        // Each command is a request on a connection of its own; the socket layer stays
        // in use until the conversation closes.
        if (socketAsked_) {
            CloseSocket(socket_);
            socket_ = NoSocket;
            if (!Connect()) return false;
        }
        socketAsked_ = true;
        if (!Send(BuildHttpRequest(target_, command.substr(0, command.size() - 1), identity_)))
            return Fail(sendFailure), false;
        if (!ReadStatusLine()) return Fail(readFailure), false;
        // "HTTP/1.x 200 ...": anything but a success carries no cddb reply.
        const char* code = std::strchr(reader->line, ' ');
        if (std::strncmp(reader->line, "HTTP/", 5) != 0 || !code || code[1] != '2') {
            LogMessage("Unexpected HTTP reply: ", reader->line);
            return Fail("Unknown server error."), false;
        }
        for (int lines = 0;; ++lines) {
            if (lines == HttpHeaderLineLimit || !ReadStatusLine()) return Fail(readFailure), false;
            // The empty line that ends the header ("\r\n" may come in two receives).
            if (std::strcmp(reader->line, "\n") == 0 || std::strcmp(reader->line, "\r\n") == 0) break;
        }
        if (!ReadStatusLine()) return Fail(readFailure), false;
        return true;
    }

    // Copies the entry whose read reply is in reader->line, after its "#FILENAME=" line.
    int ReadEntry(const std::string& category, std::uint32_t discId);
    // Copies the match list that follows the query reply.
    int ReadMatchList();

    void Close() { CloseConnection(&socket_, reader.get()); }
    bool CheckStatus(const char* line) { return CheckStatusLine(line, *reader, socket_) != 0; }

    // A status line, reassembled when the network delivered it in pieces, so that it is
    // judged whole; it is left in reader->line. A line that runs past the buffer is
    // judged by what fits, so that endless bytes without a line end cannot keep the
    // thread here. false on failure.
    bool ReadStatusLine() {
        if (Expired()) return false;
        int taken = ReadResponseLine(*reader, socket_);
        if (taken == 0) return false;
        std::string line = reader->line;
        while ((line.empty() || line.back() != '\n') && taken < ReceiveSize) {
            if (Expired()) return false;
            const int more = ReadResponseLine(*reader, socket_);
            if (more == 0) return false;
            taken += more;
            line += reader->line;
        }
        if (line.size() > ReceiveSize) line.resize(ReceiveSize);
        std::memcpy(reader->line, line.c_str(), line.size() + 1);
        LogMessage("Received: ", reader->line);
        return true;
    }

    // One piece of a data line, logged as received. false on failure.
    bool ReadPiece() {
        if (Expired() || ReadResponseLine(*reader, socket_) == 0) return false;
        LogMessage("Received: ", reader->line);
        return true;
    }

    // Writes data to the file within the size limit of a data reply.
    bool Write(const char* text) {
        written_ += static_cast<long>(std::strlen(text));
        if (written_ > dataReplyLimit.load()) {
            if (!limitStatus_) LogMessage("Server reply passed the size limit.");
            limitStatus_ = TooLarge;
            return false;
        }
        std::fputs(text, output_);
        return true;
    }
    // The "#FILENAME=" line that starts an entry in the file.
    void WriteEntryStart(std::uint32_t discId) {
        char text[32];
        std::snprintf(text, sizeof text, "#FILENAME=%08x\n", static_cast<unsigned>(discId));
        std::fputs(text, output_);
    }

    std::unique_ptr<ResponseReader> reader;

private:
    bool Connect() {
        socket_ = CreateStreamSocket();
        if (socket_ == NoSocket) {
            CloseConnection(nullptr, nullptr);
            LogMessage("Unable to create socket.");
            SetQueryStatus("Socket creation error.");
            return false;
        }
        if (!ConnectSocket(socket_, address_, target_.port)) {
            LogMessage("Unable to connect to server.");
            Fail("Unable to connect to server.");
            return false;
        }
        ResetResponseReader(*reader);
        return true;
    }

    bool Send(const std::string& text) {
        LogMessage("Sending: ", text.c_str());
        return SendAll(socket_, text.data(), static_cast<int>(text.size())) != 0;
    }

    bool Expired() {
        if (limitStatus_) return true;
        if (std::chrono::steady_clock::now() < deadline_) return false;
        LogMessage("Server conversation passed its time limit.");
        limitStatus_ = TooSlow;
        return true;
    }

    const CddbTarget& target_;
    HelloIdentity identity_;
    std::FILE* output_;
    std::uint32_t address_ = 0;
    SocketHandle socket_ = NoSocket;
    std::chrono::steady_clock::time_point deadline_{};
    long written_ = 0;
    const char* limitStatus_ = nullptr; // set once a bound was passed
    bool socketAsked_ = false;          // HTTP: the open connection has carried a request
};

bool EndsLine(const char* piece) {
    const std::size_t length = std::strlen(piece);
    return length > 0 && piece[length - 1] == '\n';
}

// An entry starts with "# xmcd", alone on its line (as servers store entries) or
// followed by a blank and more text.
bool IsXmcdHeader(const std::string& line) {
    return line.compare(0, 6, "# xmcd") == 0 && (line.compare(6, 1, " ") == 0 || line.compare(6, 1, "\n") == 0 ||
                                                 line.compare(6, 2, "\r\n") == 0);
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
        char* piece = talk.reader->line;
        if (heldReturn && piece[0] != '\n' && !talk.Write("\r")) return false;
        heldReturn = false;
        if (lineStart && piece[0] == '.') return true;
        const std::size_t length = std::strlen(piece);
        lineStart = length > 0 && piece[length - 1] == '\n';
        if (length > 0 && piece[length - 1] == '\r') {
            piece[length - 1] = '\0';
            heldReturn = true;
        }
        if (!talk.Write(piece)) return false;
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

std::string SystemName(bool (*ask)(std::string*)) {
    std::string name;
    if (!ask(&name)) name.clear();
    return name;
}

// Form fields: letters, digits and "-._~" as they are, a blank as "+", the rest as %XX.
std::string FormEncode(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '-' ||
                           b == '.' || b == '_' || b == '~';
        if (plain) {
            out += c;
        } else if (b == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

int Conversation::ReadEntry(const std::string& category, std::uint32_t discId) {
    WriteEntryStart(discId);
    char text[32];
    std::snprintf(text, sizeof text, " %08x\n", static_cast<unsigned>(discId));
    SetQueryStatus("Sending CD information request.");
    if (!Ask("cddb read " + category + text, "Error sending CD information request.",
             "Unable to receive CD information response."))
        return CddbFailure;
    std::string failure;
    if (!JudgeReadReply(reader->line, &failure)) return Fail(failure);

    SetQueryStatus("Reading CD information.");
    // The header line, gathered until it can be told apart from anything else.
    if (!ReadPiece()) return Fail(ReadingFailed);
    std::string header = reader->line;
    // (A bare "# xmcd" may come with its "\r" and "\n" in separate receives.)
    while (header.size() < 8 && !EndsLine(header.c_str())) {
        if (!ReadPiece()) return Fail(ReadingFailed);
        header += reader->line;
    }
    if (!IsXmcdHeader(header)) return Fail("Unknown file type returned for CD information.");
    if (header.size() >= 2 && header.compare(header.size() - 2, 2, "\r\n") == 0) header.replace(header.size() - 2, 2, "\n");
    if (!Write(header.c_str())) return Fail(ReadingFailed);
    if (!EndsLine(header.c_str())) {
        // The rest of a header line cut by the network.
        do {
            if (!ReadPiece() || !Write(reader->line)) return Fail(ReadingFailed);
        } while (!EndsLine(reader->line));
    }
    if (!CopyUntilDot(*this)) return Fail(ReadingFailed);

    Close();
    LogMessage("Found current CD with exact match.");
    return CddbExactMatch;
}

int Conversation::ReadMatchList() {
    LogMessage("Processing inexact match.");
    if (!CopyUntilDot(*this)) return Fail(ReadingFailed);
    Close();
    LogMessage("Found possible matches for current CD.");
    return CddbInexactMatch;
}

int Converse(const CddbTarget& target, const HelloIdentity& identity, const Request& request, std::FILE* output) {
    Conversation talk(target, identity, output);
    if (!talk.Open()) return CddbFailure;
    if (talk.SignOn() != 1) return CddbFailure;

    if (request.queryLine.empty()) return talk.ReadEntry(request.readCategory, request.discId);

    SetQueryStatus("Sending query request.");
    if (!talk.Ask(request.queryLine, "Error sending query request.", "Unable to read query response."))
        return CddbFailure;
    std::string failure;
    switch (JudgeQueryReply(talk.reader->line, &failure)) {
    case QueryOutcome::ExactMatch: {
        SetQueryStatus("Server query successful.");
        LogMessage("Processing exact match.");
        // Held whole, whatever its length: a long word must not overrun anything.
        const std::string category = CategoryOf(talk.reader->line);
        const std::string reply = SkipSeparators(talk.reader->line);
        // The status check every reply gets, on this conversation's connection. An exact
        // match's code never announces more lines (x1x is a list, judged above), so it
        // reads nothing here: it turns away a code that is not three digits.
        if (!talk.Http() && !talk.CheckStatus(reply.c_str())) return talk.Fail("Unknown server error.");
        return talk.ReadEntry(category, request.discId);
    }
    case QueryOutcome::InexactMatch:
        SetQueryStatus("Server query successful.");
        return talk.ReadMatchList();
    case QueryOutcome::NoMatch:
        talk.Close();
        return CddbNoMatch;
    case QueryOutcome::Failed:
        break;
    }
    return talk.Fail(failure);
}

// The server to ask and who asks, or false with the status set.
bool ChooseServerAndIdentity(CddbTarget* target, HelloIdentity* identity) {
    bool chosen;
    std::string returnAddress;
    {
        DiscInfoHold hold; // the property sheet may be applying new cddb settings
        chosen = ChooseCddbTarget(ProgramOptions(), target);
        returnAddress = ProgramOptions().smtpReturnAddress;
    }
    if (!chosen) {
        // Neither the relay nor a usable listed server: there is nobody to ask.
        CloseConnection(nullptr, nullptr);
        LogMessage("No cddb server selected.");
        SetQueryStatus("No cddb server selected.");
        return false;
    }
    *identity = ChooseHelloIdentity(returnAddress, SystemName(GetSystemUserName), SystemName(GetSystemComputerName));
    return true;
}

} // namespace

void SetConversationLimits(long dataReplyBytes, int seconds) {
    dataReplyLimit = dataReplyBytes > 0 ? dataReplyBytes : DataReplyLimit;
    conversationSeconds = seconds > 0 ? seconds : ConversationSecondsLimit;
}

std::string BuildHelloLine(const std::string& user, const std::string& computer) {
    return std::string("cddb hello ") + GreetingName(user) + " " + GreetingName(computer) + " " + ClientName + " " +
           ClientVersion + "\n";
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

std::string BuildHttpRequest(const CddbTarget& target, const std::string& command, const HelloIdentity& identity) {
    const char joiner = target.path.find('?') == std::string::npos ? '?' : '&';
    std::string request = "GET " + target.path + joiner + "cmd=" + FormEncode(command) + "&hello=" +
                          FormEncode(GreetingName(identity.user)) + "+" + FormEncode(GreetingName(identity.host)) +
                          "+" + ClientName + "+" + ClientVersion + "&proto=6 HTTP/1.0\r\n";
    request += "Host: " + target.host;
    if (target.port != HttpServerPort) request += ":" + std::to_string(target.port);
    return request + "\r\n\r\n";
}

int QueryServer(std::uint32_t discId, std::FILE* output) {
    LogMessageHex("Checking remote cddb server for id: ", discId);
    SetQueryStatus("Looking for server.");
    if (!SocketStartup()) {
        SetQueryStatus("Winsock initialization error.");
        return CddbFailure;
    }
    CddbTarget target;
    HelloIdentity identity;
    if (!ChooseServerAndIdentity(&target, &identity)) return CddbFailure;

    const CdDeviceRecord& device = CdDevice();
    Request request;
    request.queryLine = BuildQueryLine(discId, device.toc.data(), device.trackCount);
    request.discId = discId;
    return Converse(target, identity, request, output);
}

int ReadServerEntry(const std::string& category, std::uint32_t discId, std::FILE* output) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(discId));
    LogMessage("Reading chosen cddb entry: ", (category + " " + text).c_str());
    SetQueryStatus("Looking for server.");
    if (!SocketStartup()) {
        SetQueryStatus("Winsock initialization error.");
        return CddbFailure;
    }
    CddbTarget target;
    HelloIdentity identity;
    if (!ChooseServerAndIdentity(&target, &identity)) return CddbFailure;
    Request request;
    request.readCategory = category;
    request.discId = discId;
    return Converse(target, identity, request, output);
}
