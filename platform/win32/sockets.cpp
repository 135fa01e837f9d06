// Windows Sockets 1.1 through wsock32.
#include "platform/sockets.h"

#include <winsock.h>

#include <cstdio>
#include <cstring>

#include "platform/workerowner.h"

bool SocketStartup() {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void SocketCleanup() { WSACleanup(); }

bool ResolveHostAddress(const char* host, std::uint32_t* address) {
    // Winsock keeps the host entry per thread, so the copy below is safe.
    const hostent* entry = gethostbyname(host);
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return false;
    std::memcpy(address, entry->h_addr_list[0], sizeof *address);
    return true;
}

bool LookUpAddressName(std::uint32_t address, std::string* name) {
    const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&address), sizeof address, AF_INET);
    if (!entry || !entry->h_name) return false;
    *name = entry->h_name;
    return true;
}

void FormatHostAddress(std::uint32_t address, char* text, int size) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    std::snprintf(text, static_cast<std::size_t>(size), "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}

SocketHandle CreateStreamSocket() {
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
    const SocketHandle created = s == INVALID_SOCKET ? NoSocket : static_cast<SocketHandle>(s);
    WatchWorkerSocket(created);
    return created;
}

bool ConnectSocket(SocketHandle socket, std::uint32_t address, int port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    to.sin_addr.s_addr = address;
    const bool connected = ::connect(static_cast<SOCKET>(socket), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    CheckWorkerSocketConnected(socket);
    return connected;
}

int SystemSocketWait(SocketHandle socket, int seconds) {
    return SystemSocketWaitMilliseconds(socket, seconds * 1000);
}

int SystemSocketWaitMilliseconds(SocketHandle socket, int milliseconds) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(socket), &readable);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, &readable, nullptr, nullptr, &limit);
}

int SendSocket(SocketHandle socket, const char* bytes, int count) {
    return ::send(static_cast<SOCKET>(socket), bytes, count, 0);
}

int ReceiveSocket(SocketHandle socket, char* bytes, int count) {
    return ::recv(static_cast<SOCKET>(socket), bytes, count, 0);
}

void CloseSocket(SocketHandle socket) {
    if (socket == NoSocket) return;
    ForgetWorkerSocket(socket);
    ::closesocket(static_cast<SOCKET>(socket));
}

void ShutdownSocket(SocketHandle socket) {
    if (socket != NoSocket) ::shutdown(static_cast<SOCKET>(socket), 2); // SD_BOTH
}
