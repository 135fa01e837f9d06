// Texts from cddb arrive in UTF-8 (today's servers, and every server asked for level 6)
// or Latin-1 (older entries and servers); the program holds them as UTF-8.
#pragma once

#include <string>

#include "platform/utf8text.h"

// text as UTF-8: as it is when it is valid UTF-8, else read as Latin-1. Nothing is lost.
std::string ToProgramText(const std::string& text);
