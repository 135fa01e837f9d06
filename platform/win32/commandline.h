// The program's command line as the entry point is meant to take it: the arguments
// after the program's own name, read wide and converted to UTF-8, so that a path in any
// script reaches the program whole.
#pragma once

#include <string>

// GetCommandLineW without the program's name (quoted or not) and the blanks after it,
// as WinMain's command line leaves it out.
std::string ProgramArguments();
// The same rule for a given command line, for tests.
std::string ArgumentsOf(const wchar_t* commandLine);
