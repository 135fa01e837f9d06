// The seam to the socket layer: just what the cddb and mail conversations use.
// Windows builds speak Windows Sockets 1.1 (wsock32); native builds BSD sockets.
#pragma once

#include <cstdint>
#include <string>

// A connected or unconnected stream socket; NoSocket when there is none.
using SocketHandle = std::intptr_t;
constexpr SocketHandle NoSocket = -1;

// Each conversation starts and ends its own use of the socket layer (WSAStartup 1.1 and
// WSACleanup); natively there is nothing to start. true on success.
bool SocketStartup();
void SocketCleanup();

// The first IPv4 address of the host, in network byte order, by a gethostbyname()
// lookup; false when the name cannot be resolved.
bool ResolveHostAddress(const char* host, std::uint32_t* address);
// The host name of an address (network byte order) by a gethostbyaddr() reverse
// lookup; false when the address has no name.
bool LookUpAddressName(std::uint32_t address, std::string* name);
// "a.b.c.d" of an address in network byte order.
void FormatHostAddress(std::uint32_t address, char* text, int size);

SocketHandle CreateStreamSocket();
bool ConnectSocket(SocketHandle socket, std::uint32_t address, int port);

// select() for readability with a time-out of whole seconds: > 0 readable (data, end of
// stream or an error), 0 timed out, < 0 select failed. Goes through the installed wait.
int WaitSocketReadable(SocketHandle socket, int seconds);
// Both return the system call's result: bytes moved, 0 at end of stream, -1 on error.
int SendSocket(SocketHandle socket, const char* bytes, int count);
int ReceiveSocket(SocketHandle socket, char* bytes, int count);
void CloseSocket(SocketHandle socket);
// Ends both directions of a socket that another thread may be waiting on: its wait
// returns and its receives report the end of the stream. The socket stays open.
void ShutdownSocket(SocketHandle socket);

// The readiness wait is replaceable so that tests of the time-out rules need not sit
// through real seconds. Installing null restores the system's select(). Returns the
// wait that was installed before.
using SocketWaitFunction = int (*)(SocketHandle socket, int seconds);
SocketWaitFunction InstallSocketWait(SocketWaitFunction wait);
// The system's own wait, for replacements that want to delegate to it.
int SystemSocketWait(SocketHandle socket, int seconds);
int SystemSocketWaitMilliseconds(SocketHandle socket, int milliseconds);
