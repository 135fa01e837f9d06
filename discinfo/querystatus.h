// The cddb lookup's progress text, shown in the cddb Query page's status field. The
// lookup thread sets it; the page reads it when it becomes active and, while it is
// active, is told of every change through the listener.
#pragma once

#include <cstddef>
#include <string>

// The stored text is at most this long (the buffer is 80 bytes with its terminator).
constexpr std::size_t QueryStatusSize = 80;

// Stores the text (cut to fit) and tells the listener. Callers must not hold
// DiscInfoLock: the listener may wait for the user-interface thread.
void SetQueryStatus(const char* text);
// A copy of queryStatusText.
std::string QueryStatusText();
// Empties the stored text without telling the listener (start-up, page reset).
void ClearQueryStatus();

// The page installs a listener while it is active (it sets its status control) and
// removes it with null; tests record with one. Returns the listener installed before.
using QueryStatusListener = void (*)(const char* text);
QueryStatusListener SetQueryStatusListener(QueryStatusListener listener);
