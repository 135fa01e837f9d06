// What the command line asks for: the diagnostics window, and a drive to use alone.
#pragma once

struct CommandLine {
    bool diagnostics = false;
    // Two characters and a terminator ("E:"), or empty.
    char drive[3] = {0, 0, 0};
};

// cmdLine is the command line without the program name, as the entry point gets it.
CommandLine ParseCommandLine(const char* cmdLine);
