#include <atomic>

#include "platform/sockets.h"
#include "platform/workerowner.h"

namespace {

std::atomic<SocketWaitFunction> installedWait{nullptr};

// A worker waits in slices this long, so that it sees a cancel at once even where
// shutting its socket down does not end a select in progress (Wine's Winsock).
constexpr int CancelSliceMilliseconds = 50;

} // namespace

SocketWaitFunction InstallSocketWait(SocketWaitFunction wait) {
    return installedWait.exchange(wait);
}

int WaitSocketReadable(SocketHandle socket, int seconds) {
    SocketWaitFunction wait = installedWait.load();
    if (wait) return wait(socket, seconds);
    if (!OnWorkerRun()) return SystemSocketWait(socket, seconds);
    for (int waited = 0; waited < seconds * 1000; waited += CancelSliceMilliseconds) {
        if (WorkerCancelled()) return -1;
        const int ready = SystemSocketWaitMilliseconds(socket, CancelSliceMilliseconds);
        if (ready != 0) return ready;
    }
    return 0;
}
