#include <gtest/gtest.h>

#include <string>

#include "rip/EightBitText.h"

namespace {

struct Case {
    std::string utf8;
    std::string expected;
};

TEST(EightBitText, LatinOneBecomesBytesAnythingElseEmptiesTheText)
{
    const Case cases[] = {
        {"Path", "Path"},
        {"", ""},
        {"caf\xC3\xA9", "caf\xE9"},             // é U+00E9
        {"\xC3\xBF", "\xFF"},                   // ÿ U+00FF, the last one that fits
        {"Pfad\xC4\x80", ""},                   // Ā U+0100
        {"\xE4\xB8\xAD\xE6\x96\x87", ""},       // 中文
        {"a\xF0\x9F\x98\x80z", ""},             // outside the BMP
        {"bad\xC3", ""},                        // cut sequence
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(CEightBitText(c.utf8).CStr()), c.expected) << c.utf8;
}

TEST(EightBitText, LongTextIsKeptWhole)
{
    for (std::size_t length : {511u, 512u, 4000u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(std::string(CEightBitText(text).CStr()), text) << length;
    }
    // Two-byte characters: 600 of them take 1200 bytes of UTF-8 and give 600 bytes.
    std::string accented;
    for (int i = 0; i < 600; ++i)
        accented += "\xC3\xA9";
    EXPECT_EQ(std::string(CEightBitText(accented).CStr()), std::string(600, '\xE9'));
}

} // namespace
