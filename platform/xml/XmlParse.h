#pragma once
// The one way this platform runs libxml2 on outside input: a push parse fed in 64 KiB chunks, with
// external entities refused, no DTD or network loading, internal entities expanded within the
// parser's amplification limits and element nesting bounded. A document type declaration is either
// read for its internal entities or refused outright. Shared by the DOM loader, the SAX reader and
// the tree parse of platform/xml/XmlTree.h; private to platform/xml.
#include <cstdint>
#include <string>
#include <string_view>

#include <libxml/parser.h>

#include "platform/com/Stream.h"
#include "platform/xml/Sax.h"

class CXmlParse {
public:
    // Deeper nesting than this is refused: no print ticket or page comes near it, and it keeps
    // the parser's own stacks small on hostile input.
    static constexpr int kMaxDepth = 256;
    // Text and elements that entity references produce may exceed the document's own size only by
    // this factor (beyond a small allowance): the parser expands entities anew for every reference
    // when no tree is built, so its own limits do not see repeated expansion.
    static constexpr std::uint64_t kExpansionFactor = 10;
    static constexpr std::uint64_t kExpansionAllowance = 1 << 20;

    // sax is the caller's SAX2 handler (a tree builder or an event bridge); the guards are added to
    // a copy. Every callback receives the parser context; From() finds this object from it.
    CXmlParse(const xmlSAXHandler& sax, XmlDocumentType documentType);
    CXmlParse(const CXmlParse&) = delete;
    CXmlParse& operator=(const CXmlParse&) = delete;
    virtual ~CXmlParse();

    // Parses to the end of the input. A stopped parse (Stop) returns its result; markup that is
    // not well-formed or is refused gives HRESULT_FROM_WIN32(ERROR_INVALID_DATA) and Error(); a
    // read failure is returned as it came.
    HRESULT Run(ISequentialStream* stream);
    HRESULT Run(std::string_view text);

    // "line L, column C: reason" for the first failure; empty after success.
    const std::string& Error() const { return error_; }
    // The document the tree builder made; the caller owns it. Null unless the parse succeeded.
    xmlDocPtr TakeDocument();

    // Ends the parse from inside a callback (context is the callback's own) with result and, for
    // a refusal, a reason.
    void Stop(void* context, HRESULT result, std::string_view reason);
    // The result a Stop gave, S_OK while the parse runs on.
    HRESULT StopResult() const { return stopResult_; }
    int Line() const;
    int Column() const;

    static CXmlParse* From(void* context);

private:
    HRESULT Begin(const char* firstBytes, int size);
    HRESULT Feed(const char* bytes, int size, bool last);
    HRESULT Finish(HRESULT result);
    void NoteError(std::string_view reason, int line, int column);
    // Counts what an entity reference produced; false (the parse stopped) past the limit.
    bool CountExpansion(void* context, std::size_t bytes);

    static void StartElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                             int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaultedCount,
                             const xmlChar** attributes);
    static void EndElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri);
    static void Characters(void* context, const xmlChar* text, int length);
    static void Whitespace(void* context, const xmlChar* text, int length);
    static void EntityDeclaration(void* context, const xmlChar* name, int type, const xmlChar* publicId,
                                  const xmlChar* systemId, xmlChar* content);
    static void ExternalSubset(void* context, const xmlChar* name, const xmlChar* publicId, const xmlChar* systemId);
    static void RefuseDocumentType(void* context, const xmlChar* name, const xmlChar* publicId, const xmlChar* systemId);
    static void UndeclaredReference(void* context, const xmlChar* name);
    static xmlParserInputPtr ResolveEntity(void* context, const xmlChar* publicId, const xmlChar* systemId);
    static void StructuredError(void* context, xmlErrorPtr error);

    xmlSAXHandler sax_;
    startElementNsSAX2Func innerStart_;
    endElementNsSAX2Func innerEnd_;
    charactersSAXFunc innerCharacters_;
    ignorableWhitespaceSAXFunc innerWhitespace_;
    std::uint64_t inputBytes_ = 0;
    std::uint64_t expandedBytes_ = 0;
    xmlParserCtxtPtr context_ = nullptr;
    int depth_ = 0;
    bool namespaceError_ = false;
    HRESULT stopResult_ = S_OK;
    std::string error_;
};
