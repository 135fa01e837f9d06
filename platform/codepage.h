// The seam to the system's conversions between UTF-8 and a code page of outside text
// (CD-Text in MS-JIS: code page 932). Windows builds ask the system; native builds ask
// the C library's iconv, whose tables for these pages follow the same vendor's.
#pragma once

#include <string>

// bytes of the code page as UTF-8. False when they are not text of that page (a lead
// byte without its trail, a code the page leaves empty) or the system lacks the page;
// utf8 is then left as it was.
bool CodePageToUtf8(unsigned codePage, const std::string& bytes, std::string* utf8);

// utf8 in the code page. False when a character has no place in it, nothing near
// standing in; out is then left as it was.
bool Utf8ToCodePage(unsigned codePage, const std::string& utf8, std::string* out);
