// Which cddb texts are taken as UTF-8, and that none loses a letter on the way in.
#include <gtest/gtest.h>

#include <string>

#include "cddb/textencoding.h"

namespace {

TEST(TextEncodingTest, Utf8StaysAndEverythingElseIsLatin1) {
    struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"Plain ASCII", "Plain ASCII"},
        {"Beyonc\xC3\xA9 / 4", "Beyonc\xC3\xA9 / 4"},
        {"Beyonc\xE9 / 4", "Beyonc\xC3\xA9 / 4"},                               // Latin-1
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},               // letters no ANSI page has
        {"\xF0\x9F\x8E\xB5 x", "\xF0\x9F\x8E\xB5 x"},                           // beyond 16 bits
        {"\xC3", "\xC3\x83"},                                                   // cut short: Latin-1
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                       // overlong: Latin-1
        {"\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},                           // mixed: Latin-1 whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ToProgramText(c.text), c.shown);
    }
}

} // namespace
