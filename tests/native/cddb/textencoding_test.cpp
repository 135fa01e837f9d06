// Which texts are taken as UTF-8, and what the code page makes of them.
#include <gtest/gtest.h>

#include <string>

#include "cddb/textencoding.h"

namespace {

TEST(TextEncodingTest, OnlyValidUtf8BeyondAsciiIsConverted) {
    struct {
        const char* text;
        bool utf8;
        const char* shown;
    } cases[] = {
        {"Plain ASCII", false, "Plain ASCII"},
        {"Beyonc\xC3\xA9 / 4", true, "Beyonc\xE9 / 4"},
        {"Beyonc\xE9 / 4", false, "Beyonc\xE9 / 4"},          // Latin-1 stays as it is
        {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", true, "\xE9t\xE9 \x80"}, // the euro sign has a place in the page
        {"\xE6\x97\xA5\xE6\x9C\xAC", true, "??"},                // letters the page lacks
        {"\xF0\x9F\x8E\xB5 x", true, "? x"},                    // beyond 16 bits
        {"\xC3", false, "\xC3"},                                 // cut short
        {"\xC0\xAF", false, "\xC0\xAF"},                         // overlong
        {"\xED\xA0\x80", false, "\xED\xA0\x80"},                 // a surrogate
        {"\xC3\xA9\xE9", false, "\xC3\xA9\xE9"},                 // mixed: Latin-1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsUtf8BeyondAscii(c.text), c.utf8);
        EXPECT_EQ(ToProgramText(c.text), c.shown);
    }
}

} // namespace
