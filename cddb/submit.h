// Mailing a new xmcd entry for the disc in the drive to the cddb submission address,
// straight to an SMTP server. Progress goes to the log and to the submit status.
#pragma once

#include <cstdint>
#include <string>

#include "cddb/submitmail.h"
#include "cddb/xmcdwriter.h"

// Everything the conversation needs, copied out of the live records before it starts.
struct SubmitRequest {
    std::string serverName;
    int port = SmtpPort;
    std::string returnAddress;
    std::string submitAddress;
    std::string category; // the category word
    XmcdDisc disc;
};

// Fills the request from ProgramOptions, DiscInfo (under DiscInfoLock) and CdDevice.
// false, with the reason logged and set as the submit status, when the category index
// names no entry with a category word or no disc is held.
bool CollectSubmitRequest(std::int32_t categoryIndex, SubmitRequest* request);

// The whole mail exchange, from starting the socket layer to QUIT; the outcome is the
// last submit status. Ends the socket layer's use in every case.
void ConverseWithSmtpServer(const SubmitRequest& request, const HeloNameSources& helo);

// The whole exchange may last this long: a real server answers each command within
// seconds, and a server that trickles its replies must not hold the submission.
constexpr int SmtpConversationSecondsLimit = 120;
// Tests shorten the limit; 0 restores the default.
void SetSmtpConversationLimit(int seconds);

// Collects the request for the chosen category and mails it.
void SubmitEntry(std::int32_t categoryIndex);
