// The About box: the program's name and version and two live figures of the system.
#pragma once

// Shows the box modally, owned by the main window, and returns when it is closed. While
// it is open a further call returns at once.
void ShowAboutBox();
