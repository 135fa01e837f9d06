// The submission's progress text, shown in the cddb Submit page's status field. The
// submission thread sets it; the page, while it is active, is told of every change
// through the listener (it does not show the stored text when it becomes active).
#pragma once

#include <cstddef>
#include <string>

// The stored text is at most this long (the buffer is 80 bytes with its terminator).
constexpr std::size_t SubmitStatusSize = 80;

// Stores the text (cut to fit) and tells the listener. Callers must not hold
// DiscInfoLock: the listener may wait for the user-interface thread.
void SetSubmitStatus(const char* text);
// A copy of submitStatusText.
std::string SubmitStatusText();
// Empties the stored text without telling the listener (start-up).
void ClearSubmitStatus();

// The page installs a listener while it is active (it sets its status control) and
// removes it with null; tests record with one. Returns the listener installed before.
using SubmitStatusListener = void (*)(const char* text);
SubmitStatusListener SetSubmitStatusListener(SubmitStatusListener listener);
