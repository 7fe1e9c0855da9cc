// Escaping, replace-all and locale-independent formatting of markup text.
#include <gtest/gtest.h>
#include <locale.h>

#include "framework/MarkupText.h"
#include "framework/XDException.h"

namespace {

struct EscapeCase {
    const char* input;
    const char* attribute;
    const char* text;
};

const EscapeCase kEscapeCases[] = {
    {"", "", ""},
    {"plain text", "plain text", "plain text"},
    {R"(a<b & "c" > 'd')", "a&lt;b &amp; &quot;c&quot; &gt; &apos;d&apos;", R"(a&lt;b &amp; "c" &gt; 'd')"},
    // An entity already in the text is escaped again: its ampersand goes first.
    {"&amp; &lt;", "&amp;amp; &amp;lt;", "&amp;amp; &amp;lt;"},
    {"&&", "&amp;&amp;", "&amp;&amp;"},
    // White space a parser would normalise is kept as character references.
    {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d", "a\tb\nc&#13;d"},
    // Text beyond ASCII passes as it is (U+00E9, U+4E2D, U+1F600).
    {"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80<", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80&lt;",
     "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80&lt;"},
};

TEST(MarkupText, EscapesForAttributesAndText)
{
    for (const EscapeCase& c : kEscapeCases) {
        std::string attribute = "prefix:";
        AppendEscapedXml(attribute, c.input, EscapeContext::Attribute);
        EXPECT_EQ(attribute, std::string("prefix:") + c.attribute) << c.input;
        std::string text;
        AppendEscapedXml(text, c.input, EscapeContext::Text);
        EXPECT_EQ(text, c.text) << c.input;
        std::string inPlace = c.input;
        EXPECT_EQ(EscapeXmlText(&inPlace), S_OK);
        EXPECT_EQ(inPlace, c.attribute);
    }
}

TEST(MarkupText, EscapeOfNullIsRefused) { EXPECT_EQ(EscapeXmlText(nullptr), E_POINTER); }

struct ReplaceCase {
    const char* text;
    const char* find;
    const char* replacement;
    const char* expected;
    std::size_t count;
};

const ReplaceCase kReplaceCases[] = {
    {"a-b-c", "-", "+", "a+b+c", 2},
    // A replacement holding the searched text is not matched again.
    {"aXa", "a", "aa", "aaXaa", 2},
    {"%d pages of %d", "%d", "%d%d", "%d%d pages of %d%d", 2},
    {"abcabc", "abc", "", "", 2},
    {"abc", "x", "y", "abc", 0},
    {"abc", "", "y", "abc", 0},
    {"", "a", "b", "", 0},
};

TEST(MarkupText, ReplacesAllMatchesOnce)
{
    for (const ReplaceCase& c : kReplaceCases) {
        std::string text = c.text;
        EXPECT_EQ(ReplaceAll(text, c.find, c.replacement), c.count) << c.text << " / " << c.find;
        EXPECT_EQ(text, c.expected) << c.text << " / " << c.find;
    }
}

TEST(MarkupText, FormatsPrintfStyle)
{
    std::string markup = "<Path";
    AppendFormat(markup, R"( Data="M %.2f,%.2f" Name="%s%d_%u"/>)", 12.345, -0.5, "P", -3, 7u);
    EXPECT_EQ(markup, R"(<Path Data="M 12.35,-0.50" Name="P-3_7"/>)");
    const std::string longText(1000, 'x');
    EXPECT_EQ(FormatMarkup("[%s]", longText.c_str()), "[" + longText + "]");
}

TEST(MarkupText, AppendsFixedTwoDecimals)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.00"}, {1.0, "1.00"}, {-2.5, "-2.50"}, {793.7007874, "793.70"}, {1e7, "10000000.00"}, {0.125, "0.12"},
    };
    for (const auto& [value, expected] : cases) {
        std::string out;
        AppendFixed2(out, value);
        EXPECT_EQ(out, expected);
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.2f", value);
        EXPECT_EQ(out, printed) << "differs from printf for " << value;
    }
}

// Numbers in markup keep the dot under a locale whose decimal separator is a comma.
TEST(MarkupText, FormatsWithDotUnderCommaLocale)
{
    locale_t comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"})
        if ((comma = newlocale(LC_ALL_MASK, name, nullptr)))
            break;
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const locale_t previous = uselocale(comma);
    char native[32];
    std::snprintf(native, sizeof native, "%.2f", 1.5);
    std::string markup = FormatMarkup("%.2f", 1.5);
    AppendFixed2(markup, 2.25);
    uselocale(previous);
    freelocale(comma);
    EXPECT_STREQ(native, "1,50") << "the locale does not use a decimal comma";
    EXPECT_EQ(markup, "1.502.25");
}

}  // namespace
