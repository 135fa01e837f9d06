// The seam to the system's ANSI code page, the text of older narrow files and calls
// (Cdplayer.ini, the socket layer's host name), into the program's UTF-8. Windows
// builds ask the system (CP_ACP); native builds stand in with the Windows-1252 page,
// the ANSI page of Western European Windows.
#pragma once

#include <string>

// Every byte becomes its letter in the code page; nothing is dropped.
std::string AnsiToUtf8(const std::string& ansi);

// A text file of unknown kind that names files (a CUE sheet, a disc description):
// valid UTF-8 as it is, else written by an older Windows program in the ANSI page.
std::string Utf8OrAnsiToUtf8(const std::string& text);
