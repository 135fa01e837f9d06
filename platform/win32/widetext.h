// The program holds every text as UTF-8 in std::string; Windows takes and gives text
// as UTF-16. These two conversions are the only way between them, used at the edge:
// window texts, the registry, file names, the command line and the environment.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// UTF-8 into UTF-16. A byte that is not part of valid UTF-8 becomes U+FFFD, so a text
// from outside never vanishes whole.
std::wstring Utf8ToWide(const std::string& utf8);

// Text of a code page (CP_ACP for the ANSI page, CP_UTF8) into UTF-16.
std::wstring CodePageToWide(UINT codePage, const std::string& text);

// UTF-16 into UTF-8: length units of wide, or up to its terminator when length is
// npos. An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const wchar_t* wide, std::size_t length = std::string::npos);
inline std::string WideToUtf8(const std::wstring& wide) { return WideToUtf8(wide.c_str(), wide.size()); }
