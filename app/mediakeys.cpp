#include "app/mediakeys.h"

#include "app/commands.h"
#include "app/shellstate.h"

const MediaKey MediaKeys[MediaKeyCount] = {
    {MediaPlayPauseKey, "Play/Pause"},
    {MediaStopKey, "Stop"},
    {MediaNextTrackKey, "Next Track"},
    {MediaPreviousTrackKey, "Previous Track"},
};

int MediaKeyCommand(unsigned hotKeyId, PlayState state) {
    switch (hotKeyId) {
    case MediaPlayPauseKey:
        // Pause resumes a paused disc too, but Play alone starts a stopped one.
        return state == Playing ? CommandPause : CommandPlay;
    case MediaStopKey:
        return CommandStop;
    case MediaNextTrackKey:
        return CommandNextTrack;
    case MediaPreviousTrackKey:
        return CommandPreviousTrack;
    default:
        return 0;
    }
}

bool RunMediaKey(unsigned hotKeyId) {
    const int command = MediaKeyCommand(hotKeyId, Shell().playState);
    return command != 0 && RunPlayerCommand(command);
}
