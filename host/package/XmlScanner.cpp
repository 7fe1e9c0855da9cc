#include "host/package/XmlScanner.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <memory>

#include "framework/XDException.h"

namespace {

std::string_view View(const xmlChar* text) { return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view(); }

struct ScanState {
    const XmlStartTagHandler* handler = nullptr;
    xmlParserCtxtPtr context = nullptr;
    XmlStartTag tag;
    int depth = 0;
    HRESULT result = S_OK;
    std::string error;

    void Fail(HRESULT hr, std::string message)
    {
        if (SUCCEEDED(result)) {
            result = hr;
            error = std::move(message);
        }
        xmlStopParser(context);
    }
};

void OnStartElement(void* user, const xmlChar* localName, const xmlChar*, const xmlChar* uri, int, const xmlChar**,
                    int attributeCount, int, const xmlChar** attributes)
{
    auto* state = static_cast<ScanState*>(user);
    if (FAILED(state->result))
        return;
    XmlStartTag& tag = state->tag;
    tag.localName = View(localName);
    tag.namespaceUri = View(uri);
    tag.depth = state->depth++;
    tag.attributes.clear();
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** a = attributes + 5 * i;
        tag.attributes.push_back({View(a[0]), View(a[2]),
                                  std::string_view(reinterpret_cast<const char*>(a[3]), static_cast<std::size_t>(a[4] - a[3]))});
    }
    const HRESULT hr = GuardResult([&] { return (*state->handler)(tag); });
    if (FAILED(hr))
        state->Fail(hr, {});
}

void OnEndElement(void* user, const xmlChar*, const xmlChar*, const xmlChar*) { --static_cast<ScanState*>(user)->depth; }

void OnInternalSubset(void* user, const xmlChar*, const xmlChar*, const xmlChar*)
{
    static_cast<ScanState*>(user)->Fail(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), "declares a document type, which is not allowed");
}

void OnError(void* user, xmlErrorPtr error)
{
    auto* state = static_cast<ScanState*>(user);
    if (!error || error->level < XML_ERR_ERROR || FAILED(state->result))
        return;
    std::string message = error->message ? error->message : "malformed";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    state->result = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    state->error = "not well-formed XML (line " + std::to_string(error->line) + "): " + message;
}

struct ContextDeleter {
    void operator()(xmlParserCtxtPtr context) const
    {
        if (context->myDoc)
            xmlFreeDoc(context->myDoc);
        xmlFreeParserCtxt(context);
    }
};

} // namespace

std::string_view XmlStartTag::Attribute(std::string_view name) const
{
    for (const XmlAttribute& a : attributes) {
        if (a.localName == name && a.namespaceUri.empty())
            return a.value;
    }
    return {};
}

HRESULT ScanXml(IPrintReadStream* stream, const XmlStartTagHandler& handler, std::string* error)
{
    if (!stream)
        return E_POINTER;
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = OnStartElement;
    sax.endElementNs = OnEndElement;
    sax.internalSubset = OnInternalSubset;
    sax.serror = OnError;

    ScanState state;
    state.handler = &handler;
    std::unique_ptr<xmlParserCtxt, ContextDeleter> context(xmlCreatePushParserCtxt(&sax, &state, nullptr, 0, nullptr));
    if (!context)
        return E_OUTOFMEMORY;
    state.context = context.get();
    xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);

    std::unique_ptr<char[]> buffer(new char[65536]);
    bool end = false;
    while (!end && SUCCEEDED(state.result)) {
        ULONG read = 0;
        BOOL endOfFile = 0;
        const HRESULT hr = stream->ReadBytes(buffer.get(), 65536, &read, &endOfFile);
        if (FAILED(hr))
            return hr;
        end = endOfFile || read == 0;
        xmlParseChunk(context.get(), buffer.get(), static_cast<int>(read), end ? 1 : 0);
    }
    if (SUCCEEDED(state.result) && !context->wellFormed) {
        state.result = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
        state.error = "not well-formed XML";
    }
    if (error)
        *error = state.error;
    return state.result;
}
