// Each disc starts again where it was left, when the user wants it.
#pragma once

#include "cdaudio/cddevice.h"

// Keeps where play is now in the disc's record, for the save at the end of the run.
void NoteResumePoint();

// The start sequence's first play: at the disc's resume point when the option is on
// and the point still fits the disc and its programmed order, else at the first track
// of the sequence. Sets the current track and the play position.
PlayState StartFirstPlay();
