#include "platform/xml/XmlParse.h"

#include <libxml/SAX2.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <mutex>
#include <vector>

namespace {

constexpr ULONG kChunkSize = 64 * 1024;
// Enough bytes for the parser to see a byte order mark or the first characters of UTF-16 text.
constexpr int kEncodingProbe = 4;
const HRESULT kInvalidData = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

std::string_view Chars(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

// libxml2 reports some failures of the input's encoding without a parser context, through the
// thread's error channel, which would print them to standard error. While the parser works they
// are dropped: the parse finds them from its own state and reports them with line and column.
class CContextlessErrorsDropped {
public:
    CContextlessErrorsDropped() : previous_(xmlStructuredError), previousData_(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(nullptr, Drop);
    }
    ~CContextlessErrorsDropped() { xmlSetStructuredErrorFunc(previousData_, previous_); }
    CContextlessErrorsDropped(const CContextlessErrorsDropped&) = delete;
    CContextlessErrorsDropped& operator=(const CContextlessErrorsDropped&) = delete;

private:
    static void Drop(void*, xmlErrorPtr) {}

    xmlStructuredErrorFunc previous_;
    void* previousData_;
};

} // namespace

CXmlParse::CXmlParse(const xmlSAXHandler& sax, XmlDocumentType documentType)
    : sax_(sax),
      innerStart_(sax.startElementNs),
      innerEnd_(sax.endElementNs),
      innerCharacters_(sax.characters),
      innerWhitespace_(sax.ignorableWhitespace)
{
    sax_.initialized = XML_SAX2_MAGIC;
    sax_.startElementNs = StartElement;
    sax_.endElementNs = EndElement;
    sax_.characters = Characters;
    sax_.ignorableWhitespace = Whitespace;
    // Entities: the internal subset is read so that internal entities expand; everything that
    // would fetch from outside the document is refused or ignored.
    sax_.internalSubset = documentType == XmlDocumentType::kRefused ? RefuseDocumentType : xmlSAX2InternalSubset;
    sax_.getEntity = xmlSAX2GetEntity;
    sax_.getParameterEntity = xmlSAX2GetParameterEntity;
    sax_.entityDecl = EntityDeclaration;
    sax_.externalSubset = ExternalSubset;
    sax_.resolveEntity = ResolveEntity;
    sax_.reference = UndeclaredReference;
    sax_.serror = StructuredError;
    sax_.error = nullptr;
    sax_.warning = nullptr;
    sax_.fatalError = nullptr;
}

CXmlParse::~CXmlParse()
{
    if (context_) {
        if (context_->myDoc)
            xmlFreeDoc(context_->myDoc);
        context_->myDoc = nullptr;
        xmlFreeParserCtxt(context_);
    }
}

CXmlParse* CXmlParse::From(void* context)
{
    return static_cast<CXmlParse*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

HRESULT CXmlParse::Run(ISequentialStream* stream)
{
    if (!stream)
        return E_POINTER;
    std::vector<char> buffer(kChunkSize);
    ULONG held = 0;
    bool ended = false;
    // The parser context is made with the first bytes so that it detects the encoding.
    while (held < kEncodingProbe && !ended) {
        ULONG read = 0;
        const HRESULT hr = stream->Read(buffer.data() + held, kChunkSize - held, &read);
        if (FAILED(hr))
            return Finish(hr);
        held += read;
        ended = read == 0;
    }
    const int probe = static_cast<int>(std::min<ULONG>(held, kEncodingProbe));
    HRESULT hr = Begin(buffer.data(), probe);
    if (FAILED(hr))
        return Finish(hr);
    hr = Feed(buffer.data() + probe, static_cast<int>(held) - probe, ended);
    while (SUCCEEDED(hr) && !ended) {
        ULONG read = 0;
        hr = stream->Read(buffer.data(), kChunkSize, &read);
        if (FAILED(hr))
            break;
        ended = read == 0;
        hr = Feed(buffer.data(), static_cast<int>(read), ended);
    }
    return Finish(hr);
}

HRESULT CXmlParse::Run(std::string_view text)
{
    HRESULT hr = S_OK;
    std::size_t done = 0;
    const std::size_t probe = std::min<std::size_t>(text.size(), kEncodingProbe);
    hr = Begin(text.data(), static_cast<int>(probe));
    done = probe;
    while (SUCCEEDED(hr)) {
        const std::size_t piece = std::min<std::size_t>(text.size() - done, kChunkSize);
        const bool last = done + piece == text.size();
        hr = Feed(text.data() + done, static_cast<int>(piece), last);
        done += piece;
        if (last)
            break;
    }
    return Finish(hr);
}

HRESULT CXmlParse::Begin(const char* firstBytes, int size)
{
    // libxml2 sets its globals up on first use, which is not safe when the first parses start on
    // several threads at once (the filters, the provider registering printers): do it once, here.
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });
    const CContextlessErrorsDropped quiet;
    context_ = xmlCreatePushParserCtxt(&sax_, nullptr, firstBytes, size, nullptr);
    if (!context_)
        return E_OUTOFMEMORY;
    context_->_private = this;
    // An encoding the parser cannot read is reported while the context is made.
    if (const xmlError* error = xmlCtxtGetLastError(context_); error && error->level >= XML_ERR_ERROR)
        NoteError(Chars(reinterpret_cast<const xmlChar*>(error->message)), error->line, error->int2);
    // No XML_PARSE_DTDLOAD, no XML_PARSE_HUGE: the parser's own size and amplification limits hold.
    xmlCtxtUseOptions(context_, XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOCDATA);
    return S_OK;
}

HRESULT CXmlParse::Feed(const char* bytes, int size, bool last)
{
    inputBytes_ += static_cast<std::uint64_t>(size);
    {
        const CContextlessErrorsDropped quiet;
        xmlParseChunk(context_, bytes, size, last ? 1 : 0);
    }
    if (FAILED(stopResult_))
        return stopResult_;
    if (!context_->wellFormed || namespaceError_) {
        if (error_.empty())
            NoteError("the markup is not well-formed", Line(), Column());
        return kInvalidData;
    }
    // Bytes that do not decode in the document's encoding halt the parser without marking the
    // markup ill-formed; going on would pass a cut-off document as a whole one.
    if (context_->disableSAX) {
        NoteError("the text is not valid in the document's encoding", Line(), Column());
        return kInvalidData;
    }
    return S_OK;
}

HRESULT CXmlParse::Finish(HRESULT result)
{
    if (SUCCEEDED(result))
        error_.clear();
    else if (context_ && context_->myDoc) {
        xmlFreeDoc(context_->myDoc);
        context_->myDoc = nullptr;
    }
    return result;
}

xmlDocPtr CXmlParse::TakeDocument()
{
    if (!context_)
        return nullptr;
    xmlDocPtr doc = context_->myDoc;
    context_->myDoc = nullptr;
    return doc;
}

void CXmlParse::Stop(void* context, HRESULT result, std::string_view reason)
{
    if (SUCCEEDED(stopResult_)) {
        stopResult_ = result;
        if (!reason.empty())
            NoteError(reason, Line(), Column());
    }
    xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
    if (context != context_)
        xmlStopParser(context_);
}

int CXmlParse::Line() const { return context_ ? xmlSAX2GetLineNumber(context_) : 0; }
int CXmlParse::Column() const { return context_ ? xmlSAX2GetColumnNumber(context_) : 0; }

void CXmlParse::NoteError(std::string_view reason, int line, int column)
{
    if (!error_.empty())
        return;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
        reason.remove_suffix(1);
    error_ = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + std::string(reason);
}

void CXmlParse::StartElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                             int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaultedCount,
                             const xmlChar** attributes)
{
    CXmlParse* self = From(context);
    if (!self->CountExpansion(context, 3 + static_cast<std::size_t>(xmlStrlen(localName))))
        return;
    if (++self->depth_ > kMaxDepth) {
        self->Stop(context, kInvalidData, "elements nested deeper than " + std::to_string(kMaxDepth) + " levels");
        return;
    }
    if (self->innerStart_)
        self->innerStart_(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount, defaultedCount,
                          attributes);
}

void CXmlParse::Characters(void* context, const xmlChar* text, int length)
{
    CXmlParse* self = From(context);
    if (self->CountExpansion(context, static_cast<std::size_t>(length)) && self->innerCharacters_)
        self->innerCharacters_(context, text, length);
}

void CXmlParse::Whitespace(void* context, const xmlChar* text, int length)
{
    CXmlParse* self = From(context);
    if (self->CountExpansion(context, static_cast<std::size_t>(length)) && self->innerWhitespace_)
        self->innerWhitespace_(context, text, length);
}

bool CXmlParse::CountExpansion(void* context, std::size_t bytes)
{
    // Callbacks for the document's own markup come with the main context; entity content is
    // parsed in a context of its own.
    if (context == context_)
        return true;
    expandedBytes_ += bytes;
    if (expandedBytes_ <= kExpansionAllowance || expandedBytes_ <= kExpansionFactor * inputBytes_)
        return true;
    Stop(context, kInvalidData, "entity expansion exceeds the size limit");
    return false;
}

void CXmlParse::EndElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri)
{
    CXmlParse* self = From(context);
    --self->depth_;
    if (self->innerEnd_)
        self->innerEnd_(context, localName, prefix, uri);
}

void CXmlParse::EntityDeclaration(void* context, const xmlChar* name, int type, const xmlChar* publicId,
                                  const xmlChar* systemId, xmlChar* content)
{
    if (type == XML_INTERNAL_GENERAL_ENTITY || type == XML_INTERNAL_PARAMETER_ENTITY) {
        xmlSAX2EntityDecl(context, name, type, publicId, systemId, content);
        return;
    }
    From(context)->Stop(context, kInvalidData, "external entity \"" + std::string(Chars(name)) + "\" refused");
}

// With entities expanded the parser reports only references it cannot resolve: those to entities
// an external subset would declare. Such a document depends on outside definitions.
void CXmlParse::UndeclaredReference(void* context, const xmlChar* name)
{
    From(context)->Stop(context, kInvalidData, "entity \"" + std::string(Chars(name)) + "\" is not declared");
}

void CXmlParse::ExternalSubset(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}

// Called for every declaration, with an internal subset or only an external identifier, before
// either is read.
void CXmlParse::RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*)
{
    From(context)->Stop(context, kInvalidData, "a document type declaration is not allowed (it could name external entities)");
}

xmlParserInputPtr CXmlParse::ResolveEntity(void*, const xmlChar*, const xmlChar*) { return nullptr; }

void CXmlParse::StructuredError(void* context, xmlErrorPtr error)
{
    if (!context || !error || error->level < XML_ERR_ERROR)
        return;
    // A namespace name that is no valid URI (published tickets have some with a leading space) is
    // accepted as written.
    if (error->code == XML_WAR_NS_URI || error->code == XML_WAR_NS_URI_RELATIVE)
        return;
    // Errors raised while the context is being made come before it knows this object; Begin
    // takes them from the context afterwards.
    CXmlParse* self = From(context);
    if (!self)
        return;
    // Namespace errors (an undeclared prefix, a redefined attribute) leave the parser's
    // well-formedness alone.
    if (error->domain == XML_FROM_NAMESPACE)
        self->namespaceError_ = true;
    self->NoteError(Chars(reinterpret_cast<const xmlChar*>(error->message)), error->line, error->int2);
}
