#include "cddb/textencoding.h"

std::string ToProgramText(const std::string& text) { return Utf8OrLatin1ToUtf8(text); }
