// The diagnostics window: a resizable log view on a thread of its own.
#pragma once

// The window's thread, owned by the program's run: when the owner goes, a window still
// open is closed and the thread waited for.
class DiagnosticsThread {
public:
    DiagnosticsThread() = default;
    explicit DiagnosticsThread(void* thread) : thread_(thread) {}
    ~DiagnosticsThread();
    DiagnosticsThread(DiagnosticsThread&& other) noexcept : thread_(other.thread_) { other.thread_ = nullptr; }
    DiagnosticsThread& operator=(DiagnosticsThread&&) = delete;
    DiagnosticsThread(const DiagnosticsThread&) = delete;
    DiagnosticsThread& operator=(const DiagnosticsThread&) = delete;

private:
    void* thread_ = nullptr;
};

// Starts the window's thread and returns once the window exists, or, if it cannot be
// created, after a short bound; the program then runs without it.
DiagnosticsThread StartDiagnostics();
