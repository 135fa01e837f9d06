// The Windows-1252 page, standing in for the ANSI code page in native builds.
#include "platform/ansitext.h"

#include "platform/utf8text.h"

std::string AnsiToUtf8(const std::string& ansi) { return Latin1ToUtf8(ansi); }

std::string Utf8OrAnsiToUtf8(const std::string& text) { return IsValidUtf8(text) ? text : AnsiToUtf8(text); }
