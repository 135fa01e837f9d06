// Where a cddb conversation goes and who it says is asking: the server list entry read
// as a host (with an optional port) or an http:// address of the cddb script, and the
// identity the greeting carries.
#pragma once

#include <string>

struct ProgramOptionsRecord;

constexpr int CddbServerPort = 888;
constexpr int HttpServerPort = 80;

enum class CddbTransport { Cddbp, Http };

struct CddbTarget {
    CddbTransport transport = CddbTransport::Cddbp;
    std::string host;
    int port = CddbServerPort;
    std::string path; // the script's path, for http only
};

// The first word of a server list entry: "host" (port 888), "host:port", or
// "http://host[:port]/path" (port 80). The rest of the entry describes the server.
// false when the word is empty or its port is not a number from 1 to 65535.
bool ParseServerEntry(const std::string& entry, CddbTarget* target);

// The relay host and port (always spoken to in cddbp) when the relay is on, else the
// chosen server list entry. false when there is no usable entry.
bool ChooseCddbTarget(const ProgramOptionsRecord& options, CddbTarget* target);

// A name for the greeting: every separator byte removed, "Unknown" when none is left.
std::string GreetingName(const std::string& name);

// Who the greeting names: the user and host of the return address when it is a plain
// "user@host" address, else the system's user and computer names (as GreetingName
// makes them).
struct HelloIdentity {
    std::string user;
    std::string host;
};
HelloIdentity ChooseHelloIdentity(const std::string& returnAddress, const std::string& systemUser,
                                  const std::string& systemComputer);
