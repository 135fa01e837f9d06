// The seam to the system's text conversion: UTF-8 text into the program's ANSI code
// page. Windows builds ask the system (CP_ACP); native builds stand in with the
// Windows-1252 page, the ANSI page of Western European Windows.
#pragma once

#include <string>

// utf8 must be valid UTF-8. Letters the code page lacks become "?", one for each.
// false when the system cannot convert (the text is then left to the caller as is).
bool Utf8ToAnsi(const std::string& utf8, std::string* ansi);
