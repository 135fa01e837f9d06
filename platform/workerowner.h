// The owner of a kind of worker thread (the disc lookup, the submission). The owner
// starts the runs, and at shutdown cancels and joins them before what they read goes
// away; no run is ever left to end on its own.
#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "platform/sockets.h"

struct WorkerRun;
class WorkerWait;

class WorkerOwner {
public:
    WorkerOwner() = default;
    WorkerOwner(const WorkerOwner&) = delete;
    WorkerOwner& operator=(const WorkerOwner&) = delete;
    // A run still going when the owner goes is cancelled and joined.
    ~WorkerOwner();

    // Starts body on a thread of its own; runs that have ended are joined first. A run
    // that is only sending its end notices may still be going, so the caller's own
    // flag, not this owner, says whether a new run may start. false when no thread
    // could be created.
    bool Start(void (*body)());

    // Asks every run to end: the sockets it holds are shut down, so a wait for a silent
    // peer returns at once and the conversation fails, and a socket it connects later
    // is shut down as soon as it is connected; the other waits it has declared are
    // cancelled likewise.
    void Cancel();

    // Called while waiting for the runs to end, with the milliseconds it may take:
    // the user-interface thread handles the messages a worker sends it meanwhile (a
    // worker inside SendMessage to a window of the joining thread would wait forever).
    using Pump = void (*)(int milliseconds);
    // Returns once every run has ended, and joins them.
    void Join(Pump pump = nullptr);

private:
    struct Thread {
        std::shared_ptr<WorkerRun> run;
        std::thread thread;
    };
    void JoinEnded();
    std::vector<Thread> threads_;
};

// True on a thread an owner started; WorkerCancelled once its run was cancelled.
bool OnWorkerRun();
bool WorkerCancelled();

// The socket adapters tell the owner of the calling thread's run (if it runs on one)
// about each socket: from its creation, after its connect, and before its close.
void WatchWorkerSocket(SocketHandle socket);
void CheckWorkerSocketConnected(SocketHandle socket);
void ForgetWorkerSocket(SocketHandle socket);

// Something other than a socket that a run may wait on and that can be ended from
// another thread: an HTTPS request, whose handles the owner closes.
class WorkerWait {
public:
    // Ends the wait: called at most once, on the cancelling thread, while the run's
    // record is locked, so it never runs after ForgetWorkerWait has returned.
    virtual void CancelWait() = 0;

protected:
    ~WorkerWait() = default;
};

// The calling thread's run holds wait until ForgetWorkerWait; a run already cancelled
// has it cancelled at once. Nothing happens on threads no owner started.
void WatchWorkerWait(WorkerWait* wait);
void ForgetWorkerWait(WorkerWait* wait);
