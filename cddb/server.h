// The client side of one cddb server conversation: sign on, greet, query the disc and
// fetch its entry or the list of close matches into a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "cddb/lineio.h"

struct ProgramOptionsRecord;
struct TrackToc;

constexpr int CddbServerPort = 888;

// Results of QueryServer.
constexpr int CddbExactMatch = 1;
constexpr int CddbInexactMatch = 2;
constexpr int CddbNoMatch = 0;
constexpr int CddbFailure = -1;

struct CddbTarget {
    std::string host;
    int port = CddbServerPort;
};

// The relay host and port when the relay is on, else the first word of the chosen
// server list entry on port 888. false when there is no host to connect to.
bool ChooseCddbTarget(const ProgramOptionsRecord& options, CddbTarget* target);

// A name for the greeting: every separator byte removed, "Unknown" when none is left.
std::string GreetingName(const std::string& name);
// "cddb hello <user> <computer> Tunova v2.21\n".
std::string BuildHelloLine(const std::string& user, const std::string& computer);
// "cddb query <id> <tracks> <frame offset>... <disc seconds>\n" for a table of
// trackCount tracks followed by its lead-out entry.
std::string BuildQueryLine(std::uint32_t discId, const TrackToc* toc, std::int32_t trackCount);

// One whole conversation for the disc in CdDevice with the server that ProgramOptions
// names; writes the entry (result 1) or the match list (result 2) to output. Every
// failure has set the query status and returns -1.
int QueryServer(std::uint32_t discId, std::FILE* output);

// The conversation from the name lookup on, with the socket layer already started:
// what QueryServer does once it knows where to go and what to ask. Ends the socket
// layer's use in every case.
int ConverseWithCddbServer(const CddbTarget& target, std::uint32_t discId, const std::string& queryLine,
                           std::FILE* output);

// The two endings of a successful query; each closes the connection.
int ReadExactMatch(std::uint32_t discId, std::FILE* output, SocketHandle* connection, ResponseReader& reader);
int ReadMatchList(std::FILE* output, SocketHandle* connection, ResponseReader& reader);
