// The C library's iconv, standing in for Windows' code pages in native builds: its
// "CP932" is the Windows mapping of Shift-JIS, extensions and private use included.
#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace {

bool Convert(const std::string& to, const std::string& from, const std::string& in, std::string* out) {
    iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string result;
    char* inAt = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    bool whole = true;
    while (whole && inLeft > 0) {
        char* outAt = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
        result.append(buffer, static_cast<std::size_t>(outAt - buffer));
        // A full buffer is worth another round. A character with no place in the page,
        // or one cut short, ends the conversion; so does a count of characters that
        // something near stood in for.
        if (done == static_cast<std::size_t>(-1) ? errno != E2BIG : done > 0) whole = false;
    }
    if (whole) {
        // The end of a shifted state, for pages that have them.
        char* outAt = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(converter, nullptr, nullptr, &outAt, &outLeft);
        result.append(buffer, static_cast<std::size_t>(outAt - buffer));
    }
    iconv_close(converter);
    if (whole) *out = result;
    return whole;
}

std::string PageName(unsigned codePage) { return "CP" + std::to_string(codePage); }

} // namespace

bool CodePageToUtf8(unsigned codePage, const std::string& bytes, std::string* utf8) {
    return Convert("UTF-8", PageName(codePage), bytes, utf8);
}

bool Utf8ToCodePage(unsigned codePage, const std::string& utf8, std::string* out) {
    // Only a character that comes back as itself has its place in the page, as Windows
    // has it without best-fit stand-ins (the library maps some letters one way only).
    std::string bytes, back;
    if (!Convert(PageName(codePage), "UTF-8", utf8, &bytes) || !Convert("UTF-8", PageName(codePage), bytes, &back) ||
        back != utf8)
        return false;
    *out = bytes;
    return true;
}
