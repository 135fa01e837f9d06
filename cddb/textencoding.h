// Texts from cddb arrive in UTF-8 (today's servers) or Latin-1 (older entries); the
// program shows and stores them in its ANSI code page.
#pragma once

#include <string>

// true when text is valid UTF-8 and holds at least one letter beyond ASCII: only then
// is it taken as UTF-8 (plain ASCII reads the same either way, and Latin-1 letters are
// almost never valid UTF-8).
bool IsUtf8BeyondAscii(const std::string& text);

// text in the ANSI code page: converted when it is UTF-8 beyond ASCII, else as it is.
std::string ToProgramText(const std::string& text);
