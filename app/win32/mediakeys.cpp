#include <windows.h>

#include <string>

#include "log/logmessage.h"
#include "app/mediakeys.h"
#include "app/win32/shell.h"

static_assert(MediaNextTrackKey == VK_MEDIA_NEXT_TRACK && MediaPreviousTrackKey == VK_MEDIA_PREV_TRACK &&
                  MediaStopKey == VK_MEDIA_STOP && MediaPlayPauseKey == VK_MEDIA_PLAY_PAUSE,
              "the media keys' codes are the platform's");

void RegisterMediaKeys(HWND window) {
    for (const MediaKey& key : MediaKeys) {
        if (!RegisterHotKey(window, static_cast<int>(key.code), 0, key.code)) {
            LogMessage("Media key in use by another program: ", key.name);
        }
    }
}

void UnregisterMediaKeys(HWND window) {
    // A key that was never ours fails here harmlessly.
    for (const MediaKey& key : MediaKeys) UnregisterHotKey(window, static_cast<int>(key.code));
}
