#pragma once
// SAX reading of page markup and other parts: document-order events with qualified names and
// attribute lists, parsed in chunks from a stream so that no page is ever held whole.
// Text is UTF-8. Views given to a handler are valid only for the duration of the call.
#include <span>
#include <string_view>

#include "platform/com/Stream.h"

struct SaxAttribute {
    std::string_view qName;      // "x:Key", "xmlns:x", "Fill"
    std::string_view localName;  // "Key"
    std::string_view uri;        // namespace of the attribute; empty when unprefixed
    std::string_view value;      // entities and character references resolved
};
// The attributes of one start tag: namespace declarations first (as "xmlns" / "xmlns:p"
// attributes, in the order written), then the other attributes in document order.
using SaxAttributes = std::span<const SaxAttribute>;

struct ISAXLocator {
    virtual int getLineNumber() const = 0;
    virtual int getColumnNumber() const = 0;

protected:
    ~ISAXLocator() = default;
};

struct ISAXContentHandler : IUnknown {
    static constexpr IID kIid = GuidLiteral("{E61431DD-E887-44C9-B7BB-0CC267FB4EB7}");
    // A failure from any event stops the parse; the parse returns that HRESULT.
    virtual HRESULT putDocumentLocator(const ISAXLocator* locator) = 0;
    virtual HRESULT startDocument() = 0;
    virtual HRESULT endDocument() = 0;
    virtual HRESULT startPrefixMapping(std::string_view prefix, std::string_view uri) = 0;
    virtual HRESULT endPrefixMapping(std::string_view prefix) = 0;
    virtual HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view qName,
                                 SaxAttributes attributes) = 0;
    virtual HRESULT endElement(std::string_view uri, std::string_view localName, std::string_view qName) = 0;
    virtual HRESULT characters(std::string_view text) = 0;
    virtual HRESULT ignorableWhitespace(std::string_view text) = 0;
    virtual HRESULT processingInstruction(std::string_view target, std::string_view data) = 0;
    virtual HRESULT skippedEntity(std::string_view name) = 0;

protected:
    ~ISAXContentHandler() = default;
};

// Parses the stream to its end, feeding handler. Returns the first failure of a handler event,
// HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for markup that is not well-formed or is refused
// (external entities, DTD loading, excessive depth or entity expansion), a read failure of the
// stream as it came, else S_OK. *errorMessage (optional) receives a one-line reason with line and column.
HRESULT ParseSax(ISequentialStream* stream, ISAXContentHandler* handler, std::string* errorMessage = nullptr);

// What a parse does with a document type declaration.
enum class XmlDocumentType {
    kInternalSubsetRead,  // its internal entities expand; nothing from outside is read
    kRefused,             // refused before any of it is read: package parts (OPC) and tickets carry none
};
// ParseSax with the declaration's treatment chosen; the three-argument form reads internal subsets.
HRESULT ParseSax(ISequentialStream* stream, ISAXContentHandler* handler, XmlDocumentType documentType,
                 std::string* errorMessage);
