#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/xml/Sax.h"
#include "tests/xml/RecordingHandler.h"
#include "tests/xml/TestStreams.h"

namespace {

const HRESULT kInvalidData = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

const std::string kPage = R"(<?xml version="1.0" encoding="UTF-8"?>
<FixedPage Width="816" xmlns="http://schemas.microsoft.com/xps/2005/06" xml:lang="en-us" xmlns:x="urn:x">
<?pi data?><Canvas x:Key="k" RenderTransform="1,0,0,1,0,0"><Glyphs UnicodeString="a&lt;b&amp;c&#x263A;" /></Canvas><![CDATA[<raw>]]></FixedPage>)";

const std::string kPageEvents = "startDocument\n"
                                "prefix+ =http://schemas.microsoft.com/xps/2005/06\n"
                                "prefix+ x=urn:x\n"
                                "start FixedPage {http://schemas.microsoft.com/xps/2005/06}FixedPage "
                                "xmlns(xmlns,http://www.w3.org/2000/xmlns/)=[http://schemas.microsoft.com/xps/2005/06] "
                                "xmlns:x(x,http://www.w3.org/2000/xmlns/)=[urn:x] "
                                "Width(Width,)=[816] "
                                "xml:lang(lang,http://www.w3.org/XML/1998/namespace)=[en-us]\n"
                                "text [\n]\n"
                                "pi pi data\n"
                                "start Canvas {http://schemas.microsoft.com/xps/2005/06}Canvas "
                                "x:Key(Key,urn:x)=[k] RenderTransform(RenderTransform,)=[1,0,0,1,0,0]\n"
                                "start Glyphs {http://schemas.microsoft.com/xps/2005/06}Glyphs "
                                "UnicodeString(UnicodeString,)=[a<b&c\xE2\x98\xBA]\n"
                                "end Glyphs {http://schemas.microsoft.com/xps/2005/06}Glyphs\n"
                                "end Canvas {http://schemas.microsoft.com/xps/2005/06}Canvas\n"
                                "text [<raw>]\n"
                                "end FixedPage {http://schemas.microsoft.com/xps/2005/06}FixedPage\n"
                                "prefix- x\n"
                                "prefix- \n"
                                "endDocument\n";

std::string Events(const std::string& bytes, ULONG perRead = 0xFFFFFFFFu, HRESULT expected = S_OK)
{
    CTestStream stream(bytes, perRead);
    CRecordingHandler handler;
    std::string message;
    EXPECT_EQ(expected, ParseSax(&stream, &handler, &message)) << message;
    return handler.Events();
}

TEST(SaxReaderTest, ReportsEventsInDocumentOrderWithDeclarationsFirst)
{
    EXPECT_EQ(kPageEvents, Events(kPage));
}

TEST(SaxReaderTest, GivesTheSameEventsWhateverTheChunksAndEncoding)
{
    const std::string utf16Page = std::string(R"(<?xml version="1.0" encoding="UTF-16"?>)") + kPage.substr(kPage.find('\n'));
    const std::string utf16Events = kPageEvents;
    struct Case {
        const char* name;
        std::string bytes;
        ULONG perRead;
    } cases[] = {
        {"one byte per read", kPage, 1},
        {"seven bytes per read", kPage, 7},
        {"UTF-16 little endian", Utf16Bytes(utf16Page, false), 0xFFFFFFFFu},
        {"UTF-16 big endian, one byte per read", Utf16Bytes(utf16Page, true), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kPageEvents, Events(c.bytes, c.perRead)) << c.name;
}

TEST(SaxReaderTest, ExpandsInternalEntitiesInTextAndAttributes)
{
    const std::string doc = R"(<!DOCTYPE r [<!ENTITY who "W&#xE9;rld">]><r a="&who;!">Hello &who;</r>)";
    const std::string events = Events(doc);
    EXPECT_NE(std::string::npos, events.find("a(a,)=[W\xC3\xA9rld!]")) << events;
    EXPECT_NE(std::string::npos, events.find("text [Hello W\xC3\xA9rld]")) << events;
}

TEST(SaxReaderTest, HandlerFailureStopsTheParseAndIsTheResult)
{
    // Events: startDocument 1, start a 2, start b 3, text 4, ...
    for (int failAt : {1, 3, 4}) {
        CTestStream stream("<a><b>text</b><c/></a>", 2);
        CRecordingHandler handler(failAt, E_ACCESSDENIED);
        EXPECT_EQ(E_ACCESSDENIED, ParseSax(&stream, &handler)) << failAt;
        EXPECT_EQ(std::string::npos, handler.Events().find("start c")) << failAt;
    }
}

TEST(SaxReaderTest, AnExceptionFromAHandlerEndsTheParseAsAFailure)
{
    struct Row {
        int raiseAt;
        std::exception_ptr raised;
        HRESULT expected;
    } rows[] = {
        {1, std::make_exception_ptr(std::runtime_error("start")), E_FAIL},
        {3, std::make_exception_ptr(std::bad_alloc()), E_OUTOFMEMORY},
        {4, std::make_exception_ptr(std::runtime_error("text")), E_FAIL},
    };
    for (const Row& row : rows) {
        CTestStream stream("<a><b>text</b><c/></a>", 2);
        CRecordingHandler handler(row.raiseAt);
        handler.raise = row.raised;
        EXPECT_EQ(row.expected, ParseSax(&stream, &handler)) << row.raiseAt;
        EXPECT_EQ(std::string::npos, handler.Events().find("start c")) << row.raiseAt;
    }
}

TEST(SaxReaderTest, MalformedMarkupNamesLineAndColumn)
{
    CTestStream stream("<a>\n  <b>\n  </c>\n</a>", 3);
    CRecordingHandler handler;
    std::string message;
    EXPECT_EQ(kInvalidData, ParseSax(&stream, &handler, &message));
    EXPECT_EQ(0u, message.rfind("line 3, column ", 0)) << message;
    EXPECT_NE(std::string::npos, message.find("mismatch")) << message;
}

TEST(SaxReaderTest, UndeclaredPrefixesAreRefused)
{
    CTestStream stream("<a>\n<x:b/></a>");
    CRecordingHandler handler;
    std::string message;
    EXPECT_EQ(kInvalidData, ParseSax(&stream, &handler, &message));
    EXPECT_NE(std::string::npos, message.find("line 2")) << message;
    EXPECT_NE(std::string::npos, message.find("x")) << message;
}

TEST(SaxReaderTest, ReadFailuresAndBadArgumentsAreReturned)
{
    CTestStream stream(kPage, 16, 64, E_ACCESSDENIED);
    CRecordingHandler handler;
    EXPECT_EQ(E_ACCESSDENIED, ParseSax(&stream, &handler));
    EXPECT_EQ(E_POINTER, ParseSax(nullptr, &handler));
    EXPECT_EQ(E_POINTER, ParseSax(&stream, nullptr));
    CTestStream empty("");
    EXPECT_EQ(kInvalidData, ParseSax(&empty, &handler));
}

TEST(SaxReaderTest, LocatorFollowsTheParse)
{
    CTestStream stream("<a>\n\n<b/>\n</a>", 1);
    CRecordingHandler handler;
    ASSERT_EQ(S_OK, ParseSax(&stream, &handler));
    EXPECT_EQ(3, handler.lastStartLine);
}

TEST(SaxReaderTest, LongTextArrivesWhole)
{
    // Several chunks of text: the handler may get it in pieces, but nothing is lost or doubled.
    std::string text(300000, 'x');
    for (std::size_t i = 0; i < text.size(); i += 1000)
        text[i] = 'y';
    const std::string events = Events("<a>" + text + "</a>", 65536);
    EXPECT_NE(std::string::npos, events.find("text [" + text + "]"));
}

} // namespace
