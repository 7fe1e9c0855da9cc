// ParseSax: libxml2's push parser turned into the content handler's events. This is the hot path
// of every filter, so the buffers of names and attributes live as long as the parse and are
// reused from tag to tag.
#include <libxml/SAX2.h>

#include <string>
#include <vector>

#include "platform/xml/Sax.h"
#include "platform/xml/XmlParse.h"

namespace {

std::string_view Chars(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }
std::string_view Chars(const xmlChar* begin, const xmlChar* end)
{
    return {reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin)};
}

class CSaxReader final : public CXmlParse, private ISAXLocator {
public:
    CSaxReader(ISAXContentHandler* handler, XmlDocumentType documentType)
        : CXmlParse(Events(), documentType), handler_(handler)
    {
    }

    HRESULT Parse(ISequentialStream* stream)
    {
        const HRESULT hr = handler_->putDocumentLocator(this);
        return FAILED(hr) ? hr : Run(stream);
    }

private:
    static xmlSAXHandler Events()
    {
        xmlSAXHandler sax{};
        sax.initialized = XML_SAX2_MAGIC;
        sax.startDocument = StartDocument;
        sax.endDocument = EndDocument;
        sax.startElementNs = StartElement;
        sax.endElementNs = EndElement;
        sax.characters = Characters;
        // Without a DTD there is no ignorable white space: blanks are text, as the markup has them.
        sax.ignorableWhitespace = Characters;
        sax.cdataBlock = Characters;
        sax.processingInstruction = ProcessingInstruction;
        return sax;
    }

    static CSaxReader* Reader(void* context) { return static_cast<CSaxReader*>(From(context)); }

    // Runs one event; nothing may unwind through the parser's C frames, so an exception ends the
    // parse as a failure instead.
    template <class Event>
    static void Guarded(void* context, Event&& event) noexcept
    {
        CSaxReader* self = Reader(context);
        try {
            event(self);
        } catch (const std::bad_alloc&) {
            self->Stop(context, E_OUTOFMEMORY, {});
        } catch (...) {
            self->Stop(context, E_FAIL, "a content handler raised an exception");
        }
    }

    // A handler failure ends the parse with that result.
    void Check(void* context, HRESULT hr)
    {
        if (FAILED(hr))
            Stop(context, hr, {});
    }

    int getLineNumber() const override { return Line(); }
    int getColumnNumber() const override { return Column(); }

    std::string_view Qualified(std::string& buffer, const xmlChar* prefix, const xmlChar* localName)
    {
        if (!prefix)
            return Chars(localName);
        buffer.assign(Chars(prefix));
        buffer += ':';
        buffer += Chars(localName);
        return buffer;
    }

    static void StartDocument(void* context)
    {
        // The tree builder's document holds the internal subset, so that internal entities resolve.
        xmlSAX2StartDocument(context);
        Guarded(context, [&](CSaxReader* self) { self->Check(context, self->handler_->startDocument()); });
    }

    static void EndDocument(void* context)
    {
        Guarded(context, [&](CSaxReader* self) { self->Check(context, self->handler_->endDocument()); });
    }

    static void StartElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                             int namespaceCount, const xmlChar** namespaces, int attributeCount, int,
                             const xmlChar** attributes)
    {
        Guarded(context, [&](CSaxReader* self) {
            self->StartTag(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount, attributes);
        });
    }

    void StartTag(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                  int namespaceCount, const xmlChar** namespaces, int attributeCount, const xmlChar** attributes)
    {
        // Every qualified name of the tag goes into one buffer sized beforehand, so the views
        // into it stay valid while it fills.
        std::size_t size = 0;
        for (int i = 0; i < namespaceCount; ++i)
            size += 6 + Chars(namespaces[2 * i]).size();
        for (int i = 0; i < attributeCount; ++i) {
            if (attributes[5 * i + 1])
                size += Chars(attributes[5 * i + 1]).size() + 1 + Chars(attributes[5 * i]).size();
        }
        names_.clear();
        names_.reserve(size);
        attributes_.clear();
        for (int i = 0; i < namespaceCount; ++i) {
            const std::string_view declared = Chars(namespaces[2 * i]);
            const std::string_view namespaceUri = Chars(namespaces[2 * i + 1]);
            Check(context, handler_->startPrefixMapping(declared, namespaceUri));
            if (FAILED(StopResult()))
                return;
            const std::size_t at = names_.size();
            names_ += declared.empty() ? "xmlns" : "xmlns:";
            names_ += declared;
            const std::string_view qName(names_.data() + at, names_.size() - at);
            attributes_.push_back({qName, declared.empty() ? qName : declared, "http://www.w3.org/2000/xmlns/",
                                   namespaceUri});
        }
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** attribute = attributes + 5 * i;
            std::string_view qName = Chars(attribute[0]);
            if (attribute[1]) {
                const std::size_t at = names_.size();
                names_ += Chars(attribute[1]);
                names_ += ':';
                names_ += qName;
                qName = std::string_view(names_.data() + at, names_.size() - at);
            }
            attributes_.push_back({qName, Chars(attribute[0]), Chars(attribute[2]), Chars(attribute[3], attribute[4])});
        }
        declaredPrefixes_.push_back(namespaceCount);
        for (int i = 0; i < namespaceCount; ++i)
            prefixStack_.emplace_back(Chars(namespaces[2 * i]));
        Check(context, handler_->startElement(Chars(uri), Chars(localName), Qualified(elementName_, prefix, localName),
                                              SaxAttributes(attributes_.data(), attributes_.size())));
    }

    static void EndElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri)
    {
        Guarded(context, [&](CSaxReader* self) { self->EndTag(context, localName, prefix, uri); });
    }

    void EndTag(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri)
    {
        Check(context, handler_->endElement(Chars(uri), Chars(localName), Qualified(elementName_, prefix, localName)));
        if (declaredPrefixes_.empty())
            return;
        for (int i = declaredPrefixes_.back(); i > 0 && SUCCEEDED(StopResult()); --i) {
            Check(context, handler_->endPrefixMapping(prefixStack_.back()));
            prefixStack_.pop_back();
        }
        declaredPrefixes_.pop_back();
    }

    static void Characters(void* context, const xmlChar* text, int length)
    {
        Guarded(context, [&](CSaxReader* self) {
            self->Check(context, self->handler_->characters(Chars(text, text + length)));
        });
    }

    static void ProcessingInstruction(void* context, const xmlChar* target, const xmlChar* data)
    {
        Guarded(context, [&](CSaxReader* self) {
            self->Check(context, self->handler_->processingInstruction(Chars(target), Chars(data)));
        });
    }

    ISAXContentHandler* handler_;
    std::string names_;
    std::string elementName_;
    std::vector<SaxAttribute> attributes_;
    std::vector<int> declaredPrefixes_;     // namespace declarations per open element
    std::vector<std::string> prefixStack_;  // the prefixes they declare, innermost last
};

} // namespace

HRESULT ParseSax(ISequentialStream* stream, ISAXContentHandler* handler, std::string* errorMessage)
{
    return ParseSax(stream, handler, XmlDocumentType::kInternalSubsetRead, errorMessage);
}

HRESULT ParseSax(ISequentialStream* stream, ISAXContentHandler* handler, XmlDocumentType documentType,
                 std::string* errorMessage)
{
    if (!stream || !handler)
        return E_POINTER;
    HRESULT hr;
    std::string reason;
    try {
        CSaxReader reader(handler, documentType);
        hr = reader.Parse(stream);
        reason = reader.Error();
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (errorMessage)
        *errorMessage = std::move(reason);
    return hr;
}
