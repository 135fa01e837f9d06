// The property sheet: the one window that edits the disc's information, the programmed
// order and the play and cddb options, through a working copy committed on OK.
#pragma once

// Runs the sheet modally on the user-interface thread, without an owner. Returns the
// copy's programChanged when OK closed it, else 0.
int ShowProperties();
