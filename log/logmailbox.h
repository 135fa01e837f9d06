// The one-slot mailbox between the threads that log and the diagnostics window's
// thread, guarded by the named mutex "TunovaDiagnostics".
#pragma once

#include <chrono>
#include <string>

#include "platform/namedmutex.h"

// The window is opaque here (a window handle in the Windows build). notify tells the
// window, synchronously, that a line waits; the window replies before doing any work.
using LogWindowHandle = void*;
using LogNotifyFunction = void (*)(LogWindowHandle window);

// The window's side. Attach when the window exists, detach when it is destroyed;
// logging to the window is on exactly in between.
void AttachLogWindow(LogWindowHandle window, LogNotifyFunction notify);
void DetachLogWindow();
LogWindowHandle CurrentLogWindow();

// The lock guarding the mailbox and the window's text.
NamedMutex& LogLock();

// Moves the waiting line, if any, out of the mailbox. The caller holds LogLock().
bool TakePendingLogLine(std::string& line);

// The producers' side: waits for the empty slot, fills it and notifies the window.
// Gives up (returning false) once no window is attached, so that a window closed with
// a line still in the slot strands nobody. onStored runs with the lock held, right
// after the line was stored, so that other copies of the log keep the window's order.
bool PostLogLine(const std::string& line, void (*onStored)(const std::string&));

// How long a producer sleeps between looks at a full mailbox.
constexpr std::chrono::milliseconds LogMailboxRetry{100};

// How the window's text grows by one line: no break before the first line, "\r\n"
// before every later one.
void AppendToLogText(std::string& text, const std::string& line);
