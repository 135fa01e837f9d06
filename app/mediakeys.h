// The keyboard's media keys. They are held as hot keys of the main window: a hot key
// reaches the player whatever window has the focus, while the keys' application
// commands go only to the focused window, which a player hidden in the notification
// area never is.
#pragma once

#include "cdaudio/cddevice.h"

// The keys' virtual-key codes, used also as their hot key ids.
enum MediaKeyCode : unsigned {
    MediaNextTrackKey = 0xB0, // VK_MEDIA_NEXT_TRACK
    MediaPreviousTrackKey = 0xB1, // VK_MEDIA_PREV_TRACK
    MediaStopKey = 0xB2, // VK_MEDIA_STOP
    MediaPlayPauseKey = 0xB3, // VK_MEDIA_PLAY_PAUSE
};

struct MediaKey {
    MediaKeyCode code;
    const char* name;
};
constexpr int MediaKeyCount = 4;
extern const MediaKey MediaKeys[MediaKeyCount];

// The player command a media key runs in the given play state, or 0 for a key that is
// not a media key. Play/Pause does what one click on the icon does, without its
// wait: pause while playing, resume while paused, start while stopped.
int MediaKeyCommand(unsigned hotKeyId, PlayState state);

// Runs the key's command through the command dispatch; false for a key not handled.
bool RunMediaKey(unsigned hotKeyId);
