#include <atomic>

#include "platform/sockets.h"

namespace {

std::atomic<SocketWaitFunction> installedWait{nullptr};

} // namespace

SocketWaitFunction InstallSocketWait(SocketWaitFunction wait) {
    return installedWait.exchange(wait);
}

int WaitSocketReadable(SocketHandle socket, int seconds) {
    SocketWaitFunction wait = installedWait.load();
    return wait ? wait(socket, seconds) : SystemSocketWait(socket, seconds);
}
