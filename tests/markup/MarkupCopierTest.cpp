// The copying rules: what a page handler writes for the markup it reads.
#include <gtest/gtest.h>

#include "framework/MarkupCopier.h"
#include "framework/PartMarkup.h"
#include "tests/markup/MarkupFakes.h"

namespace {

using markup_test::CMemoryPart;
using markup_test::CMemorySink;
using markup_test::Make;

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="utf-8"?>)";

struct Copy {
    HRESULT result;
    std::string markup;
    std::string error;
};

template <class Handler = CMarkupCopier>
Copy CopyThrough(const std::string& input, CMemorySink* sink)
{
    Copy copy{E_FAIL, {}, {}};
    auto part = Make<CMemoryPart>(input);
    {
        auto handler = Make<Handler>(static_cast<IPrintWriteStream*>(sink));
        copy.result = ParsePartMarkup(part.Get(), handler.Get(), &copy.error);
    }
    copy.markup = sink->bytes;
    return copy;
}

template <class Handler = CMarkupCopier>
Copy CopyOf(const std::string& input)
{
    auto sink = Make<CMemorySink>();
    return CopyThrough<Handler>(input, sink.Get());
}

class MarkupCopierTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(ModuleLiveObjectCount(), 0); }
};

struct CopyCase {
    const char* name;
    const char* input;
    const char* expected;  // after the declaration
};

const CopyCase kCopyCases[] = {
    {"empty element closes itself", R"(<FixedPage Width="816" Height="1056"/>)",
     R"(<FixedPage Width="816" Height="1056"/>)"},
    {"element with children", R"(<Canvas><Path Data="M 0,0 L 1,1"/><Path/></Canvas>)",
     R"(<Canvas><Path Data="M 0,0 L 1,1"/><Path/></Canvas>)"},
    {"namespace declarations are copied",
     R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" xmlns:x="http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key" xml:lang="en-US"><Path x:Key="p"/></FixedPage>)",
     R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" xmlns:x="http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key" xml:lang="en-US"><Path x:Key="p"/></FixedPage>)"},
    {"attribute values are escaped again",
     R"(<Glyphs UnicodeString="a&lt;b &amp; &quot;c&quot; &gt; 'd'" Name="&amp;amp;"/>)",
     R"(<Glyphs UnicodeString="a&lt;b &amp; &quot;c&quot; &gt; &apos;d&apos;" Name="&amp;amp;"/>)"},
    {"white space in attributes survives", "<Path Data=\"M&#10;0,0&#9;L 1,1\"/>",
     R"(<Path Data="M&#10;0,0&#9;L 1,1"/>)"},
    {"character data is escaped", R"(<a>x &lt; y &amp;&amp; z &gt; w<![CDATA[<raw>]]></a>)",
     R"(<a>x &lt; y &amp;&amp; z &gt; w&lt;raw&gt;</a>)"},
    {"white space between elements is kept", "<a>\n  <b/>\n</a>", "<a>\n  <b/>\n</a>"},
    {"element with only text", "<a>t</a>", "<a>t</a>"},
    {"processing instruction", R"(<a><?mso-application progid="x"?></a>)", R"(<a><?mso-application progid="x"?></a>)"},
    {"supplementary plane characters", R"(<Glyphs UnicodeString="&#x1F600;&#20013;"/>)",
     "<Glyphs UnicodeString=\"\xF0\x9F\x98\x80\xE4\xB8\xAD\"/>"},
};

TEST_F(MarkupCopierTest, CopiesMarkup)
{
    for (const CopyCase& c : kCopyCases) {
        const Copy copy = CopyOf(c.input);
        EXPECT_EQ(copy.result, S_OK) << c.name << ": " << copy.error;
        EXPECT_EQ(copy.markup, std::string(kDeclaration) + c.expected) << c.name;
    }
}

// Text outside the Basic Multilingual Plane, read from UTF-16 as a surrogate pair, reaches the
// sink as four UTF-8 bytes.
TEST_F(MarkupCopierTest, WritesSurrogatePairsAsFourByteUtf8)
{
    const std::u16string page = u"\uFEFF<Glyphs UnicodeString=\"\U0001D11E\"/>";
    std::string bytes;
    for (char16_t unit : page) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    const Copy copy = CopyOf(bytes);
    ASSERT_EQ(copy.result, S_OK) << copy.error;
    EXPECT_EQ(copy.markup, std::string(kDeclaration) + "<Glyphs UnicodeString=\"\xF0\x9D\x84\x9E\"/>");
}

// A handler that owns Path: it drops Clip, replaces Fill, adds Opacity, wraps each Path in a
// Canvas and drops every Glyphs element with its content; the rest is copied.
class CPathRewriter final : public CMarkupCopier {
public:
    using CMarkupCopier::CMarkupCopier;

    HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view qName,
                         SaxAttributes attributes) override
    {
        if (dropDepth_ > 0 || localName == "Glyphs") {
            ++dropDepth_;
            return S_OK;
        }
        if (localName != "Path")
            return CMarkupCopier::startElement(uri, localName, qName, attributes);
        const MarkupAttribute changes[] = {{"Clip", std::nullopt}, {"Fill", "#FF0000FF"}, {"Opacity", "0.50"}};
        const HRESULT hr = WriteStartTag("Canvas", {{"RenderTransform", "1,0,0,1,10,10"}});
        return SUCCEEDED(hr) ? WriteStartTag(qName, attributes, changes) : hr;
    }
    HRESULT endElement(std::string_view uri, std::string_view localName, std::string_view qName) override
    {
        if (dropDepth_ > 0) {
            --dropDepth_;
            return S_OK;
        }
        const HRESULT hr = CMarkupCopier::endElement(uri, localName, qName);
        return SUCCEEDED(hr) && localName == "Path" ? WriteEndTag("Canvas") : hr;
    }
    HRESULT characters(std::string_view text) override
    {
        return dropDepth_ > 0 ? S_OK : CMarkupCopier::characters(text);
    }

private:
    int dropDepth_ = 0;
};

TEST_F(MarkupCopierTest, AHandlerChangesOnlyTheElementsItOwns)
{
    const Copy copy = CopyOf<CPathRewriter>(
        R"(<FixedPage><Path Clip="M 0,0" Data="M 1,1" Fill="#FF000000"/><Glyphs><Glyphs.Fill>t</Glyphs.Fill></Glyphs>)"
        R"(<Path Data="x"><Path.Fill><SolidColorBrush Color="#FF00FF00"/></Path.Fill></Path></FixedPage>)");
    ASSERT_EQ(copy.result, S_OK) << copy.error;
    EXPECT_EQ(copy.markup,
              std::string(kDeclaration) +
                  R"(<FixedPage><Canvas RenderTransform="1,0,0,1,10,10"><Path Data="M 1,1" Fill="#FF0000FF" Opacity="0.50"/></Canvas>)"
                  R"(<Canvas RenderTransform="1,0,0,1,10,10"><Path Data="x" Fill="#FF0000FF" Opacity="0.50"><Path.Fill><SolidColorBrush Color="#FF00FF00"/></Path.Fill></Path></Canvas></FixedPage>)");
}

TEST_F(MarkupCopierTest, WritesElementMarkupAfterTheHeldBackBracket)
{
    auto sink = Make<CMemorySink>();
    {
        auto copier = Make<CMarkupCopier>(static_cast<IPrintWriteStream*>(sink.Get()));
        EXPECT_EQ(copier->WriteStartTag("Canvas", {{"Name", "a\"b"}}), S_OK);
        EXPECT_EQ(copier->WriteElementMarkup(R"(<Path Data="M 0,0"/>)"), S_OK);
        EXPECT_EQ(copier->WriteEndTag("Canvas"), S_OK);
        EXPECT_EQ(copier->WriteStartTag("Canvas"), S_OK);
        EXPECT_EQ(copier->WriteText("a<b"), S_OK);
        EXPECT_EQ(copier->WriteEndTag("Canvas"), S_OK);
        EXPECT_EQ(copier->endDocument(), S_OK);
    }
    EXPECT_EQ(sink->bytes, R"(<Canvas Name="a&quot;b"><Path Data="M 0,0"/></Canvas><Canvas>a&lt;b</Canvas>)");
}

// A page large enough for several flushes; the output is the copy of the input.
std::string LargePage(int paths)
{
    std::string page = R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="816" Height="1056">)";
    for (int i = 0; i < paths; ++i)
        page += R"(<Path Data="M 10,10 L 200,200 L 10,200 Z" Fill="#FF112233" Name="P)" + std::to_string(i) + R"("/>)";
    return page + "</FixedPage>";
}

TEST_F(MarkupCopierTest, AFailingSinkWriteEndsTheParseWithItsResult)
{
    constexpr HRESULT kWriteFault = HRESULT_FROM_WIN32(29);
    struct FailureCase {
        const char* name;
        std::string input;
        int failAt;
    };
    const FailureCase cases[] = {
        {"flush during the parse", LargePage(20000), 2},
        {"flush at the end of the document", "<FixedPage/>", 1},
    };
    for (const FailureCase& c : cases) {
        auto sink = Make<CMemorySink>();
        sink->failAt = c.failAt;
        sink->failure = kWriteFault;
        const Copy copy = CopyThrough(c.input, sink.Get());
        EXPECT_EQ(copy.result, kWriteFault) << c.name;
        EXPECT_EQ(sink->writes, c.failAt) << c.name;
        EXPECT_NE(copy.error.find("/Documents/1/Pages/1.fpage"), std::string::npos) << copy.error;
    }
}

TEST_F(MarkupCopierTest, ALargePageIsCopiedInLargeBlocks)
{
    const std::string page = LargePage(40000);
    auto sink = Make<CMemorySink>();
    const Copy copy = CopyThrough(page, sink.Get());
    ASSERT_EQ(copy.result, S_OK) << copy.error;
    EXPECT_EQ(copy.markup, kDeclaration + page);
    ASSERT_GE(sink->writeSizes.size(), 3u);
    sink->writeSizes.pop_back();
    for (std::size_t size : sink->writeSizes)
        EXPECT_GE(size, CSaxHandlerBase::kFlushThreshold);
}

TEST_F(MarkupCopierTest, ReadAndMarkupFailuresNameThePart)
{
    constexpr HRESULT kReadFault = HRESULT_FROM_WIN32(30);
    {
        auto part = Make<CMemoryPart>(LargePage(1000), "/Documents/1/Pages/7.fpage", 5000, kReadFault);
        auto handler = Make<CMarkupCopier>();
        std::string error;
        EXPECT_EQ(ParsePartMarkup(part.Get(), handler.Get(), &error), kReadFault);
        EXPECT_EQ(error.rfind("/Documents/1/Pages/7.fpage: ", 0), 0u) << error;
    }
    {
        auto part = Make<CMemoryPart>("<FixedPage><Path></FixedPage>", "/Documents/1/Pages/8.fpage");
        auto handler = Make<CMarkupCopier>();
        std::string error;
        EXPECT_EQ(ParsePartMarkup(part.Get(), handler.Get(), &error), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
        EXPECT_EQ(error.rfind("/Documents/1/Pages/8.fpage: ", 0), 0u) << error;
    }
    auto handler = Make<CMarkupCopier>();
    EXPECT_EQ(ParsePartMarkup(nullptr, handler.Get()), E_POINTER);
}

}  // namespace
