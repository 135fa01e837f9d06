#include "platform/win32/sentmessages.h"

#include <windows.h>

void PumpSentMessages(int milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds), QS_SENDMESSAGE);
    // Looking at the queue delivers the sent messages; nothing is taken from it.
    MSG pending;
    PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE);
}
