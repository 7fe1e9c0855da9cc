// Output gathering of the handler base: flush threshold, sinks, failing writes.
#include <gtest/gtest.h>

#include "framework/SaxHandlerBase.h"
#include "tests/markup/MarkupFakes.h"

namespace {

using markup_test::CMemorySink;
using markup_test::Make;

class CWritingHandler final : public CSaxHandlerBase {
public:
    using CSaxHandlerBase::CSaxHandlerBase;
};

class SaxHandlerBaseTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(ModuleLiveObjectCount(), 0); }
};

TEST_F(SaxHandlerBaseTest, EveryEventAnswersOk)
{
    auto handler = Make<CWritingHandler>();
    const SaxAttribute attribute{"Fill", "Fill", "", "#FF000000"};
    EXPECT_EQ(handler->putDocumentLocator(nullptr), S_OK);
    EXPECT_EQ(handler->startDocument(), S_OK);
    EXPECT_EQ(handler->startPrefixMapping("x", "urn:x"), S_OK);
    EXPECT_EQ(handler->startElement("urn:x", "Path", "x:Path", SaxAttributes(&attribute, 1)), S_OK);
    EXPECT_EQ(handler->characters("text"), S_OK);
    EXPECT_EQ(handler->ignorableWhitespace(" "), S_OK);
    EXPECT_EQ(handler->processingInstruction("pi", "data"), S_OK);
    EXPECT_EQ(handler->skippedEntity("e"), S_OK);
    EXPECT_EQ(handler->endElement("urn:x", "Path", "x:Path"), S_OK);
    EXPECT_EQ(handler->endPrefixMapping("x"), S_OK);
    EXPECT_EQ(handler->endDocument(), S_OK);
    void* unknown = nullptr;
    ASSERT_EQ(handler->QueryInterface(ISAXContentHandler::kIid, &unknown), S_OK);
    static_cast<ISAXContentHandler*>(unknown)->Release();
}

TEST_F(SaxHandlerBaseTest, FlushesOnlyOnceTheThresholdIsReached)
{
    auto sink = Make<CMemorySink>();
    {
        auto handler = Make<CWritingHandler>(sink.Get());
        const std::string almost(CSaxHandlerBase::kFlushThreshold - 1, 'a');
        EXPECT_EQ(handler->WriteMarkup(almost), S_OK);
        EXPECT_EQ(handler->WriteMarkup("b"), S_OK);  // now exactly at the threshold, still held
        EXPECT_EQ(sink->writes, 0);
        EXPECT_EQ(handler->WriteMarkup("c"), S_OK);  // flushes the 0x50000 bytes, then appends
        EXPECT_EQ(sink->writes, 1);
        EXPECT_EQ(sink->bytes, almost + "b");
        EXPECT_EQ(handler->WriteXmlDeclaration(), S_OK);
        EXPECT_EQ(sink->writes, 1);
    }
    // Destruction flushes what is left.
    EXPECT_EQ(sink->writes, 2);
    EXPECT_EQ(sink->bytes.substr(CSaxHandlerBase::kFlushThreshold), R"(c<?xml version="1.0" encoding="utf-8"?>)");
}

TEST_F(SaxHandlerBaseTest, SmallOutputWaitsForAnExplicitFlush)
{
    auto sink = Make<CMemorySink>();
    auto handler = Make<CWritingHandler>(sink.Get());
    EXPECT_EQ(handler->WriteMarkup("<FixedPage/>"), S_OK);
    EXPECT_EQ(sink->writes, 0);
    EXPECT_EQ(handler->FlushMarkup(), S_OK);
    EXPECT_EQ(handler->FlushMarkup(), S_OK);  // nothing left: no empty write
    EXPECT_EQ(sink->writes, 1);
    EXPECT_EQ(sink->bytes, "<FixedPage/>");
}

TEST_F(SaxHandlerBaseTest, WritesToAStreamSinkWithoutAPrintSink)
{
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(stream.Put()), S_OK);
    {
        auto handler = Make<CWritingHandler>(stream.Get());
        EXPECT_EQ(handler->WriteEscapedMarkup("a&b", EscapeContext::Text), S_OK);
    }
    ASSERT_EQ(stream->Seek(0, STREAM_SEEK_SET, nullptr), S_OK);
    char buffer[16] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), "a&amp;b");
}

TEST_F(SaxHandlerBaseTest, AFailedWriteIsKeptAndNothingMoreReachesTheSink)
{
    constexpr HRESULT kDiskFull = HRESULT_FROM_WIN32(112);
    auto sink = Make<CMemorySink>();
    sink->failAt = 2;
    sink->failure = kDiskFull;
    auto handler = Make<CWritingHandler>(sink.Get());
    const std::string block(CSaxHandlerBase::kFlushThreshold, 'x');
    EXPECT_EQ(handler->WriteMarkup(block), S_OK);
    EXPECT_EQ(handler->WriteMarkup(block), S_OK);  // first write succeeds
    EXPECT_EQ(handler->WriteMarkup("y"), kDiskFull);
    EXPECT_EQ(handler->WriteMarkup("z"), kDiskFull);
    EXPECT_EQ(handler->FlushMarkup(), kDiskFull);
    EXPECT_EQ(sink->bytes, block);
    EXPECT_EQ(sink->writes, 2);
}

}  // namespace
