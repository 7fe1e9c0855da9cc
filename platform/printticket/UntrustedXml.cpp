#include "platform/printticket/UntrustedXml.h"

#include <climits>
#include <mutex>

#include <libxml/SAX2.h>
#include <libxml/parser.h>

namespace printschema {

namespace {

struct ParseState {
    std::string error;
};

void RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    auto* state = static_cast<ParseState*>(parser->_private);
    if (state->error.empty())
        state->error = "line " + std::to_string(xmlSAX2GetLineNumber(context)) +
                       ": a document type declaration is not allowed (it could name external entities)";
    xmlStopParser(parser);
}

void NoteError(void* context, xmlErrorPtr error)
{
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    auto* state = static_cast<ParseState*>(parser->_private);
    // Only fatal errors end a parse; others (a namespace name that is no valid URI, as some
    // producers write) leave the document well-formed and usable.
    if (!error || error->level < XML_ERR_FATAL || !state->error.empty())
        return;
    std::string message = error->message ? error->message : "malformed XML";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    state->error = "line " + std::to_string(error->line) + ", column " + std::to_string(error->int2) + ": " + message;
}

} // namespace

XmlDocHolder ParseUntrustedXml(std::string_view text, std::string* error)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });
    error->clear();
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        *error = "the document is too large";
        return nullptr;
    }
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser) {
        *error = "out of memory";
        return nullptr;
    }
    ParseState state;
    parser->_private = &state;
    parser->sax->internalSubset = RefuseDocumentType;
    parser->sax->serror = NoteError;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    XmlDocHolder doc(xmlCtxtReadMemory(parser, text.data(), static_cast<int>(text.size()), nullptr, nullptr, options));
    const bool wellFormed = parser->wellFormed != 0;
    xmlFreeParserCtxt(parser);
    if (!doc || !wellFormed || !state.error.empty()) {
        *error = state.error.empty() ? std::string("malformed XML") : state.error;
        return nullptr;
    }
    if (!xmlDocGetRootElement(doc.get())) {
        *error = "the document has no root element";
        return nullptr;
    }
    return doc;
}

std::string AttributeText(const xmlNode* element, const char* name, const char* ns)
{
    xmlChar* value = ns ? xmlGetNsProp(element, BAD_CAST name, BAD_CAST ns) : xmlGetNoNsProp(element, BAD_CAST name);
    if (!value)
        return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool ResolveQName(const xmlNode* element, std::string_view qname, std::string* ns, std::string* local)
{
    const auto colon = qname.find(':');
    const std::string prefix = colon == std::string_view::npos ? std::string() : std::string(qname.substr(0, colon));
    *local = std::string(colon == std::string_view::npos ? qname : qname.substr(colon + 1));
    xmlNsPtr found = xmlSearchNs(element->doc, const_cast<xmlNode*>(element),
                                 prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
    if (!found) {
        ns->clear();
        return prefix.empty();
    }
    *ns = found->href ? reinterpret_cast<const char*>(found->href) : "";
    return true;
}

} // namespace printschema
