#pragma once
// The base of every page handler: answers every SAX event with S_OK and gathers the markup the
// handler writes, passing it to the part's stream in UTF-8 in large blocks.
#include <cstddef>
#include <string>
#include <string_view>

#include "framework/ComBase.h"
#include "framework/MarkupText.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Stream.h"
#include "platform/pipeline/PrintStreams.h"
#include "platform/xml/Sax.h"

class CSaxHandlerBase : public CComBase<ISAXContentHandler> {
public:
    // Output gathered before a write: once the text holds this many bytes, the next write flushes.
    static constexpr std::size_t kFlushThreshold = 0x50000;

    // A handler that only reads: whatever it writes is dropped.
    CSaxHandlerBase() = default;
    // Writes to printSink, held with a reference of its own; a null sink drops the output.
    explicit CSaxHandlerBase(IPrintWriteStream* printSink);
    // Writes to streamSink, for handlers that write into memory or a file rather than a part.
    explicit CSaxHandlerBase(IStream* streamSink);

    HRESULT putDocumentLocator(const ISAXLocator* locator) override;
    HRESULT startDocument() override;
    HRESULT endDocument() override;
    HRESULT startPrefixMapping(std::string_view prefix, std::string_view uri) override;
    HRESULT endPrefixMapping(std::string_view prefix) override;
    HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view qName,
                         SaxAttributes attributes) override;
    HRESULT endElement(std::string_view uri, std::string_view localName, std::string_view qName) override;
    HRESULT characters(std::string_view text) override;
    HRESULT ignorableWhitespace(std::string_view text) override;
    HRESULT processingInstruction(std::string_view target, std::string_view data) override;
    HRESULT skippedEntity(std::string_view name) override;

    // Appends markup as it stands. When the output already holds kFlushThreshold bytes or more it
    // is flushed first; the result is that of the flush, else S_OK.
    HRESULT WriteMarkup(std::string_view markup);
    // Appends text escaped for its context (MarkupText.h), flushing first as WriteMarkup does.
    HRESULT WriteEscapedMarkup(std::string_view text, EscapeContext context);
    // Writes the gathered output to the sink and empties it; nothing to do when empty. A failed
    // write is kept: the output is dropped and every later write or flush returns that failure,
    // so a part never receives markup with a hole in it.
    HRESULT FlushMarkup();
    // <?xml version="1.0" encoding="utf-8"?> with no line break after it.
    HRESULT WriteXmlDeclaration();

protected:
    // Flushes; a failure here is lost, so handlers flush at endDocument to report it.
    ~CSaxHandlerBase() override;

private:
    HRESULT PrepareAppend();
    HRESULT WriteToSink(const char* data, std::size_t size);

    ComPtr<IPrintWriteStream> printSink_;
    ComPtr<IStream> streamSink_;
    std::string output_;
    HRESULT sinkFailure_ = S_OK;
};
