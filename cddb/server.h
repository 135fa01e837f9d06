// The client side of one cddb server conversation: sign on, greet, query the disc and
// fetch its entry or the list of close matches into a file; or fetch one chosen entry.
// A server is spoken to in cddbp over its own port, or over HTTP through its cddb
// script, where each command is one request and the reply comes without banner or
// greeting.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "cddb/serverentry.h"

struct TrackToc;

// Results of QueryServer and ReadServerEntry.
constexpr int CddbExactMatch = 1;
constexpr int CddbInexactMatch = 2;
constexpr int CddbNoMatch = 0;
constexpr int CddbFailure = -1;

// Bounds of one conversation. A data reply (an entry or a match list) may hold at most
// DataReplyLimit bytes: the largest real entries (99 tracks with long titles and
// extended texts) stay well below 64 KiB, so 128 KiB refuses nothing real while it
// keeps a runaway server from filling the disk. The whole conversation may last
// ConversationSecondsLimit: a real server answers within seconds, and even a 28.8
// kbit/s modem moves 128 KiB in under a minute; a server that trickles bytes to stay
// inside the 60-second silence rule is cut off here.
constexpr long DataReplyLimit = 128 * 1024;
constexpr int ConversationSecondsLimit = 120;
// Tests shorten the bounds; 0 restores the defaults above.
void SetConversationLimits(long dataReplyBytes, int seconds);

// "cddb hello <user> <computer> Tunova v2.21\n", each name as GreetingName makes it.
std::string BuildHelloLine(const std::string& user, const std::string& computer);
// "cddb query <id> <tracks> <frame offset>... <disc seconds>\n" for a table of
// trackCount tracks followed by its lead-out entry.
std::string BuildQueryLine(std::uint32_t discId, const TrackToc* toc, std::int32_t trackCount);
// The HTTP/1.0 request that carries one cddb command (without its line end) to the
// target's script: cmd, hello and proto=6 as form fields, blanks written as "+".
std::string BuildHttpRequest(const CddbTarget& target, const std::string& command, const HelloIdentity& identity);

// One whole conversation for the disc in CdDevice with the server that ProgramOptions
// names; writes the entry (result 1) or the match list (result 2) to output. Every
// failure has set the query status and returns -1.
int QueryServer(std::uint32_t discId, std::FILE* output);

// A conversation of its own that reads the entry filed under category and discId (a
// match the user chose): 1 with the entry written to output after its "#FILENAME="
// line, or -1 with the status set.
int ReadServerEntry(const std::string& category, std::uint32_t discId, std::FILE* output);
