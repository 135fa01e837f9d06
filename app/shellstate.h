// The shell's process-wide state, owned by the user-interface thread.
#pragma once

struct ShellState {
    // The drive named on the command line ("E:"), or empty: then every CD-ROM drive is tried.
    char commandLineDrive[3] = {0, 0, 0};
};

ShellState& Shell();
