#pragma once
// Streams an XML part through the platform's SAX reader (platform/xml/Sax.h) and reports each start
// tag. Used for the package's own parts (content types, relationships, sequence, documents) and for
// finding the parts page markup names; nothing is kept but what the handler keeps. The reader's
// safety rules hold, and a document type declaration is refused (OPC allows none), so no entity
// can expand.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pipeline/PrintStreams.h"

struct XmlAttribute {
    std::string_view localName;
    std::string_view namespaceUri;  // empty for unprefixed attributes
    std::string_view value;         // character references resolved
};

struct XmlStartTag {
    std::string_view localName;
    std::string_view namespaceUri;
    int depth = 0;  // 0 for the root element
    std::vector<XmlAttribute> attributes;

    // The value of the unprefixed attribute localName; empty when absent.
    std::string_view Attribute(std::string_view localName) const;
};

// A failure stops the scan, which returns it.
using XmlStartTagHandler = std::function<HRESULT(const XmlStartTag& tag)>;

// Reads stream to its end. HRESULT_FROM_WIN32(ERROR_INVALID_DATA) with *error ("not well-formed XML
// at line L, column C: reason") for markup that is not well-formed or is refused; a read
// failure of the stream as it came; a handler failure as it came; else S_OK.
HRESULT ScanXml(IPrintReadStream* stream, const XmlStartTagHandler& handler, std::string* error);
