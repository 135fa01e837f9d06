// The ANSI code page into UTF-8 through UTF-16, as the system converts.
#include "platform/ansitext.h"

#include <windows.h>

#include "platform/utf8text.h"
#include "platform/win32/widetext.h"

std::string AnsiToUtf8(const std::string& ansi) { return WideToUtf8(CodePageToWide(CP_ACP, ansi)); }

std::string Utf8OrAnsiToUtf8(const std::string& text) { return IsValidUtf8(text) ? text : AnsiToUtf8(text); }
