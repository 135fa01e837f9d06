// Texts from cddb arrive in UTF-8 (today's servers) or Latin-1 (older entries); the
// program shows and stores them in its ANSI code page.
#pragma once

#include <string>

#include "platform/utf8text.h"

// text in the ANSI code page: converted when it is UTF-8 beyond ASCII, else as it is.
std::string ToProgramText(const std::string& text);
