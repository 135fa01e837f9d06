#include "platform/workerowner.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>

// What the owner and its thread share: whether the run was cancelled, the sockets it
// holds open, and whether it has ended.
struct WorkerRun {
    std::mutex mutex;
    std::condition_variable endedSignal;
    bool cancelled = false;
    bool ended = false;
    std::vector<SocketHandle> sockets;
    std::vector<WorkerWait*> waits;
};

namespace {

// The run the calling thread belongs to; none on threads no owner started.
thread_local WorkerRun* currentRun = nullptr;

bool HasEnded(WorkerRun& run) {
    std::lock_guard<std::mutex> hold(run.mutex);
    return run.ended;
}

} // namespace

WorkerOwner::~WorkerOwner() {
    Cancel();
    Join();
}

bool WorkerOwner::Start(void (*body)()) {
    JoinEnded();
    auto run = std::make_shared<WorkerRun>();
    try {
        std::thread thread([run, body] {
            currentRun = run.get();
            body();
            currentRun = nullptr;
            std::lock_guard<std::mutex> hold(run->mutex);
            run->ended = true;
            run->endedSignal.notify_all();
        });
        threads_.push_back({run, std::move(thread)});
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerOwner::Cancel() {
    for (Thread& owned : threads_) {
        WorkerRun& run = *owned.run;
        std::lock_guard<std::mutex> hold(run.mutex);
        run.cancelled = true;
        // Shut down, not closed: the worker still holds the handle and closes it itself,
        // so the number cannot be reused under it.
        for (const SocketHandle socket : run.sockets) ShutdownSocket(socket);
        for (WorkerWait* wait : run.waits) wait->CancelWait();
        run.waits.clear();
    }
}

void WorkerOwner::Join(Pump pump) {
    for (Thread& owned : threads_) {
        WorkerRun& run = *owned.run;
        if (pump) {
            while (!HasEnded(run)) pump(10);
        } else {
            std::unique_lock<std::mutex> hold(run.mutex);
            run.endedSignal.wait(hold, [&run] { return run.ended; });
        }
        owned.thread.join();
    }
    threads_.clear();
}

void WorkerOwner::JoinEnded() {
    for (auto owned = threads_.begin(); owned != threads_.end();) {
        if (!HasEnded(*owned->run)) {
            ++owned;
            continue;
        }
        owned->thread.join(); // its body has returned: the thread is about to end
        owned = threads_.erase(owned);
    }
}

bool OnWorkerRun() { return currentRun != nullptr; }

bool WorkerCancelled() {
    WorkerRun* run = currentRun;
    if (!run) return false;
    std::lock_guard<std::mutex> hold(run->mutex);
    return run->cancelled;
}

void WatchWorkerSocket(SocketHandle socket) {
    WorkerRun* run = currentRun;
    if (!run || socket == NoSocket) return;
    std::lock_guard<std::mutex> hold(run->mutex);
    run->sockets.push_back(socket);
    if (run->cancelled) ShutdownSocket(socket);
}

void CheckWorkerSocketConnected(SocketHandle socket) {
    // A shutdown before the connect may leave an unconnected socket as it was, so a
    // run cancelled meanwhile shuts it down again now that it is connected.
    WorkerRun* run = currentRun;
    if (!run || socket == NoSocket) return;
    std::lock_guard<std::mutex> hold(run->mutex);
    if (run->cancelled) ShutdownSocket(socket);
}

void ForgetWorkerSocket(SocketHandle socket) {
    WorkerRun* run = currentRun;
    if (!run || socket == NoSocket) return;
    std::lock_guard<std::mutex> hold(run->mutex);
    run->sockets.erase(std::remove(run->sockets.begin(), run->sockets.end(), socket), run->sockets.end());
}

void WatchWorkerWait(WorkerWait* wait) {
    WorkerRun* run = currentRun;
    if (!run || !wait) return;
    std::lock_guard<std::mutex> hold(run->mutex);
    if (run->cancelled) wait->CancelWait();
    else run->waits.push_back(wait);
}

void ForgetWorkerWait(WorkerWait* wait) {
    WorkerRun* run = currentRun;
    if (!run || !wait) return;
    std::lock_guard<std::mutex> hold(run->mutex);
    run->waits.erase(std::remove(run->waits.begin(), run->waits.end(), wait), run->waits.end());
}
