// Code page 932 both ways, as Windows converts it: the native build's stand-in and the
// Windows build's system conversion must say the same.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

inline void ExpectShiftJisConversions() {
    const struct {
        const char* what;
        std::string page;
        std::string utf8;
    } both[] = {
        {"kanji and ASCII", "\x93\x8c\x8b\x9e Love", "\xE6\x9D\xB1\xE4\xBA\xAC Love"},
        {"a half-width kana of one byte", "\xB1" "a", "\xEF\xBD\xB1" "a"},
        {"a circled digit of the page's extensions", "\x87\x40", "\xE2\x91\xA0"},
        {"the user-defined area, in private use", "\xF7\xC7", "\xEE\x96\xAA"},
        {"nothing", "", ""},
    };
    for (const auto& c : both) {
        std::string utf8 = "left", page = "left";
        EXPECT_TRUE(CodePageToUtf8(932, c.page, &utf8)) << c.what;
        EXPECT_EQ(utf8, c.utf8) << c.what;
        EXPECT_TRUE(Utf8ToCodePage(932, c.utf8, &page)) << c.what;
        EXPECT_EQ(page, c.page) << c.what;
    }
    // A lead byte without its trail is no text; letters the page lacks (Hangul, an
    // accented Latin letter) have no place in it, and nothing stands in for them; nor
    // has the wave dash, whose byte pair reads back as the full-width tilde.
    for (const std::string& bytes : {std::string("Blue\x83"), std::string("\x83\x4a\x82")}) {
        std::string utf8 = "left";
        EXPECT_FALSE(CodePageToUtf8(932, bytes, &utf8)) << bytes;
        EXPECT_EQ(utf8, "left");
    }
    for (const std::string& text :
         {std::string("\xEC\x84\x9C\xEC\x9A\xB8"), std::string("Caf\xC3\xA9"), std::string("\xE3\x80\x9C")}) {
        std::string page = "left";
        EXPECT_FALSE(Utf8ToCodePage(932, text, &page)) << text;
        EXPECT_EQ(page, "left");
    }
}
