#include "cddb/submit.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>

#include "log/logmessage.h"
#include "cdaudio/cddevice.h"
#include "cdaudio/toc.h"
#include "cddb/lineio.h"
#include "discinfo/submitstatus.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/sockets.h"

namespace {

// One command of the dialogue and the texts of its outcomes; null texts are not shown.
struct SmtpStep {
    const char* statusBefore;
    std::string command;
    const char* sendFailure;
    const char* readFailure;
    const char* expected; // the start the final reply line must have
    const char* illegal;
    const char* statusAfter;
};

// The connection of one submission and how it ends.
std::atomic<int> smtpConversationSeconds{SmtpConversationSecondsLimit};

class SmtpTalk {
public:
    ~SmtpTalk() { Close(); }

    SocketHandle socket = NoSocket;

    // Frees the reply buffer, closes the socket and ends the socket layer's use, once.
    void Close() {
        if (closed_) return;
        closed_ = true;
        reply_.reset();
        CloseConnection(&socket, nullptr);
    }

    // Ends the talk with the status text; always false, so that callers can return it.
    bool Fail(const char* status) {
        Close();
        LogMessage(status);
        SetSubmitStatus(status);
        return false;
    }

    bool Send(const std::string& text) {
        LogMessage("Sending: ", text.c_str());
        return SendAll(socket, text.data(), static_cast<int>(text.size())) != 0;
    }

    // A whole reply, logged; its final line, or null when none arrived in time.
    const char* Read() {
        const char* final = ReadSmtpReply(reply_.get(), socket, deadline_);
        if (final) LogMessage("Received: ", reply_.get());
        return final;
    }

    // Runs one step; false when it failed (the talk is then closed and the status set).
    bool Run(const SmtpStep& step) {
        if (step.statusBefore) SetSubmitStatus(step.statusBefore);
        if (!step.command.empty() && !Send(step.command)) return Fail(step.sendFailure);
        const char* final = Read();
        if (!final) return Fail(step.readFailure);
        if (std::strncmp(final, step.expected, std::strlen(step.expected)) != 0) return Fail(step.illegal);
        if (step.statusAfter) SetSubmitStatus(step.statusAfter);
        return true;
    }

    // Runs a step whose failure no longer changes the outcome: it is only logged.
    void RunAfterAcceptance(const SmtpStep& step) {
        const char* failure = nullptr;
        if (!Send(step.command)) {
            failure = step.sendFailure;
        } else if (const char* final = Read()) {
            if (std::strncmp(final, step.expected, std::strlen(step.expected)) != 0) failure = step.illegal;
        } else {
            failure = step.readFailure;
        }
        if (failure) LogMessage(failure);
    }

private:
    std::unique_ptr<char[]> reply_ = std::make_unique<char[]>(SmtpReplySize);
    // The talk starts as the connection is made.
    const std::chrono::steady_clock::time_point deadline_ =
        std::chrono::steady_clock::now() + std::chrono::seconds(smtpConversationSeconds.load());
    bool closed_ = false;
};

// Connects and runs the dialogue from the sign-on to QUIT; false when a step up to the
// end of the data failed (the talk is then closed and the status set).
bool RunDialogue(SmtpTalk& talk, std::uint32_t address, const SubmitRequest& request, const HeloNameSources& helo) {
    talk.socket = CreateStreamSocket();
    if (talk.socket == NoSocket) return talk.Fail("Socket creation error.");
    SetSubmitStatus("Connecting to SMTP Server.");
    if (!ConnectSocket(talk.socket, address, request.port)) return talk.Fail("Unable to conect to server.");

    if (!talk.Run({nullptr, "", nullptr, "Unable to read SMTP server sign-on.", "2",
                   "Illegal SMTP server sign-on response.", "Successful sign-on to SMTP server."})) {
        return false;
    }
    if (!talk.Run({"Sending HELO command.", HeloLine(helo), "Error sending HELO command.",
                   "Unable to receive HELO response.", "2", "Illegal HELO response.",
                   "Successfuly received HELO response."})) {
        return false;
    }
    if (!talk.Run({"Sending MAIL command.", "MAIL FROM: <" + OneLineText(request.returnAddress) + ">\r\n",
                   "Error sending MAIL command.", "Unable to receive MAIL response.", "2", "Illegal MAIL response.",
                   "Successfuly received MAIL response."})) {
        return false;
    }
    if (!talk.Run({"Sending RCPT command.", "RCPT TO: <" + OneLineText(request.submitAddress) + ">\r\n",
                   "Error sending RCPT command.", "Unable to receive RCPT response.", "2", "Illegal RCPT response.",
                   "Successfuly received RCPT response."})) {
        return false;
    }
    if (!talk.Run({"Sending DATA command.", "DATA\r\n", "Error sending DATA command.",
                   "Unable to receive DATA response.", "354", "Illegal DATA response.",
                   "Successfuly received DATA response."})) {
        return false;
    }

    // Letters beyond ASCII cannot travel in a plain mail (and this dialogue, begun with
    // HELO, cannot ask for 8-bit transport): such an entry goes as UTF-8, the program's
    // own text and what today's service stores, quoted-printable; a plain ASCII entry
    // goes as it is.
    const std::vector<XmcdSend> body = XmcdBodySends(request.disc);
    bool eightBit = false;
    for (const XmcdSend& send : body) eightBit = eightBit || HasEightBitBytes(send.text);
    const std::string charset = eightBit ? "UTF-8" : std::string();
    for (const std::string& line : MailHeaderLines(MailDateLineNow(), request.returnAddress, request.category,
                                                   request.disc.discId, request.submitAddress, charset)) {
        if (!talk.Send(line)) return talk.Fail("Error sending mail header information.");
    }
    // The body's lines all begin with "#" or a keyword; stuffing is the guard that keeps
    // it so whatever the texts hold.
    for (const XmcdSend& send : body) {
        if (!talk.Send(DotStuffed(eightBit ? QuotedPrintable(send.text) : send.text))) return talk.Fail(send.failure);
    }
    if (!talk.Run({nullptr, ".\r\n", "Error sending cddb file terminator.",
                   "Unable to receive DATA terminator response.", "2", "Illegal DATA terminator response.",
                   "Successfuly sent mail data."})) {
        return false;
    }
    // The server has taken the mail: a QUIT that goes wrong is logged, but the entry
    // is submitted all the same.
    talk.RunAfterAcceptance({nullptr, "QUIT\r\n", "Error sending QUIT command.", "Error receiving QUIT response.",
                             "2", "Illegal QUIT response.", nullptr});
    return true;
}

} // namespace

bool CollectSubmitRequest(std::int32_t categoryIndex, SubmitRequest* request) {
    const CdDeviceRecord& device = CdDevice();
    const char* failure = nullptr;
    if (device.trackCount <= 0 || device.toc.size() < static_cast<std::size_t>(device.trackCount) + 1) {
        failure = "No CD to submit.";
    } else {
        DiscInfoHold hold; // the property sheet may commit new texts and settings meanwhile
        const ProgramOptionsRecord& options = ProgramOptions();
        const DiscInfoRecord& disc = DiscInfo();
        request->serverName = options.smtpServerName;
        request->returnAddress = options.smtpReturnAddress;
        request->submitAddress = options.smtpSubmitAddress;
        const auto& categories = options.cddbCategoryList;
        request->category.clear();
        if (categoryIndex >= 0 && static_cast<std::size_t>(categoryIndex) < categories.size()) {
            request->category = CategoryWord(categories[static_cast<std::size_t>(categoryIndex)]);
        }
        request->disc.artist = disc.artist;
        request->disc.title = disc.title;
        request->disc.trackTitles.clear();
        for (std::int32_t i = 0; i < device.trackCount; ++i) {
            const std::size_t at = static_cast<std::size_t>(i);
            const bool titled = at < disc.trackTitles.size() && disc.trackTitles[at];
            request->disc.trackTitles.push_back(titled ? *disc.trackTitles[at] : std::string());
        }
        if (request->category.empty()) failure = "No cddb category selected.";
    }
    if (failure) {
        LogMessage(failure);
        SetSubmitStatus(failure);
        return false;
    }
    request->disc.discId = ComputeDiscIdOf(device.toc.data(), device.trackCount);
    SetXmcdTable(device.toc.data(), device.trackCount, &request->disc);
    return true;
}

void SetSmtpConversationLimit(int seconds) {
    smtpConversationSeconds = seconds > 0 ? seconds : SmtpConversationSecondsLimit;
}

void ConverseWithSmtpServer(const SubmitRequest& request, const HeloNameSources& helo) {
    if (!SocketStartup()) {
        LogMessage("Winsock initialization error.");
        SetSubmitStatus("Winsock initialization error.");
        return;
    }
    SetSubmitStatus("Looking for SMTP Server.");
    std::uint32_t address = 0;
    // An empty name would make the system's resolver answer with this very machine.
    if (request.serverName.empty() || !ResolveHostAddress(request.serverName.c_str(), &address)) {
        CloseConnection(nullptr, nullptr);
        LogMessage("Unable to locate server.");
        SetSubmitStatus("Unable to locate server.");
        return;
    }
    char dotted[16];
    FormatHostAddress(address, dotted, sizeof dotted);
    LogMessage("Address returned: ", dotted);

    SmtpTalk talk;
    if (!RunDialogue(talk, address, request, helo)) return;
    SetSubmitStatus("Successfuly submitted entry.");
    talk.Close();
    LogMessage("Successfully sent the CD information to cddb.");
}

void SubmitEntry(std::int32_t categoryIndex) {
    LogMessage("Sending current CD information to SMTP server.");
    SubmitRequest request;
    if (!CollectSubmitRequest(categoryIndex, &request)) return;
    ConverseWithSmtpServer(request, SystemHeloNameSources());
}
