// BSD sockets for the native build: real loopback conversations in tests.
#include "platform/sockets.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/workerowner.h"

bool SocketStartup() { return true; }
void SocketCleanup() {}

bool ResolveHostAddress(const char* host, std::uint32_t* address) {
    // getaddrinfo rather than gethostbyname: the latter is not thread-safe here, and the
    // lookup and submission threads may resolve at the same time.
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return false;
    const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    *address = in->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

bool LookUpAddressName(std::uint32_t address, std::string* name) {
    // getnameinfo for the same reason as above; a number is no name.
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = address;
    char host[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&from), sizeof from, host, sizeof host, nullptr, 0,
                    NI_NAMEREQD) != 0) {
        return false;
    }
    *name = host;
    return true;
}

void FormatHostAddress(std::uint32_t address, char* text, int size) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    std::snprintf(text, static_cast<std::size_t>(size), "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}

SocketHandle CreateStreamSocket() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const SocketHandle created = s < 0 ? NoSocket : s;
    WatchWorkerSocket(created);
    return created;
}

bool ConnectSocket(SocketHandle socket, std::uint32_t address, int port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = address;
    const bool connected = ::connect(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    CheckWorkerSocketConnected(socket);
    return connected;
}

int SystemSocketWait(SocketHandle socket, int seconds) {
    return SystemSocketWaitMilliseconds(socket, seconds * 1000);
}

int SystemSocketWaitMilliseconds(SocketHandle socket, int milliseconds) {
    const int fd = static_cast<int>(socket);
    if (fd < 0 || fd >= FD_SETSIZE) return -1;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(fd + 1, &readable, nullptr, nullptr, &limit);
}

int SendSocket(SocketHandle socket, const char* bytes, int count) {
    // A peer that has gone must show as a failed send, not as SIGPIPE.
    return static_cast<int>(::send(static_cast<int>(socket), bytes, static_cast<std::size_t>(count), MSG_NOSIGNAL));
}

int ReceiveSocket(SocketHandle socket, char* bytes, int count) {
    return static_cast<int>(::recv(static_cast<int>(socket), bytes, static_cast<std::size_t>(count), 0));
}

void CloseSocket(SocketHandle socket) {
    if (socket == NoSocket) return;
    ForgetWorkerSocket(socket);
    ::close(static_cast<int>(socket));
}

void ShutdownSocket(SocketHandle socket) {
    if (socket != NoSocket) ::shutdown(static_cast<int>(socket), SHUT_RDWR);
}
