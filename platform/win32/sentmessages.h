// Waiting on the user-interface thread for something a worker thread does, while the
// worker may be inside SendMessage to one of this thread's windows.
#pragma once

// Waits up to milliseconds for a message sent from another thread and handles every
// one that has arrived; posted messages stay queued.
void PumpSentMessages(int milliseconds);
