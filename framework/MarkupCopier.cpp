#include "framework/MarkupCopier.h"

#include <algorithm>

HRESULT CMarkupCopier::startDocument() { return WriteXmlDeclaration(); }

HRESULT CMarkupCopier::endDocument()
{
    const HRESULT hr = CloseStartTag();
    return FAILED(hr) ? hr : FlushMarkup();
}

HRESULT CMarkupCopier::startElement(std::string_view, std::string_view, std::string_view qName,
                                    SaxAttributes attributes)
{
    return WriteStartTag(qName, attributes);
}

HRESULT CMarkupCopier::endElement(std::string_view, std::string_view, std::string_view qName)
{
    return WriteEndTag(qName);
}

HRESULT CMarkupCopier::characters(std::string_view text) { return WriteText(text); }

HRESULT CMarkupCopier::ignorableWhitespace(std::string_view text) { return WriteText(text); }

HRESULT CMarkupCopier::processingInstruction(std::string_view target, std::string_view data)
{
    HRESULT hr = CloseStartTag();
    if (SUCCEEDED(hr))
        hr = WriteMarkup("<?");
    if (SUCCEEDED(hr))
        hr = WriteMarkup(target);
    if (SUCCEEDED(hr) && !data.empty()) {
        hr = WriteMarkup(" ");
        if (SUCCEEDED(hr))
            hr = WriteMarkup(data);
    }
    return SUCCEEDED(hr) ? WriteMarkup("?>") : hr;
}

HRESULT CMarkupCopier::WriteStartTag(std::string_view qName, SaxAttributes attributes,
                                     std::span<const MarkupAttribute> changes)
{
    HRESULT hr = CloseStartTag();
    if (SUCCEEDED(hr))
        hr = WriteMarkup("<");
    if (SUCCEEDED(hr))
        hr = WriteMarkup(qName);
    const auto changeOf = [&](std::string_view name) {
        return std::find_if(changes.begin(), changes.end(), [&](const MarkupAttribute& c) { return c.qName == name; });
    };
    for (const SaxAttribute& attribute : attributes) {
        if (FAILED(hr))
            return hr;
        const auto change = changeOf(attribute.qName);
        if (change == changes.end())
            hr = WriteAttribute(attribute.qName, attribute.value);
        else if (change->value)
            hr = WriteAttribute(attribute.qName, *change->value);
    }
    for (const MarkupAttribute& change : changes) {
        if (FAILED(hr))
            return hr;
        const bool copied = std::any_of(attributes.begin(), attributes.end(),
                                        [&](const SaxAttribute& a) { return a.qName == change.qName; });
        if (!copied && change.value)
            hr = WriteAttribute(change.qName, *change.value);
    }
    if (FAILED(hr))
        return hr;
    try {
        lastStartTag_.assign(qName);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    startTagOpen_ = true;
    return S_OK;
}

HRESULT CMarkupCopier::WriteStartTag(std::string_view qName, std::initializer_list<MarkupAttribute> changes)
{
    return WriteStartTag(qName, SaxAttributes{}, std::span<const MarkupAttribute>(changes.begin(), changes.size()));
}

HRESULT CMarkupCopier::WriteEndTag(std::string_view qName)
{
    if (startTagOpen_ && qName == lastStartTag_) {
        startTagOpen_ = false;
        return WriteMarkup("/>");
    }
    HRESULT hr = CloseStartTag();
    if (SUCCEEDED(hr))
        hr = WriteMarkup("</");
    if (SUCCEEDED(hr))
        hr = WriteMarkup(qName);
    return SUCCEEDED(hr) ? WriteMarkup(">") : hr;
}

HRESULT CMarkupCopier::WriteText(std::string_view text)
{
    if (text.empty())
        return S_OK;
    const HRESULT hr = CloseStartTag();
    return SUCCEEDED(hr) ? WriteEscapedMarkup(text, EscapeContext::Text) : hr;
}

HRESULT CMarkupCopier::WriteElementMarkup(std::string_view markup)
{
    const HRESULT hr = CloseStartTag();
    return SUCCEEDED(hr) ? WriteMarkup(markup) : hr;
}

HRESULT CMarkupCopier::CloseStartTag()
{
    if (!startTagOpen_)
        return S_OK;
    startTagOpen_ = false;
    return WriteMarkup(">");
}

HRESULT CMarkupCopier::WriteAttribute(std::string_view qName, std::string_view value)
{
    HRESULT hr = WriteMarkup(" ");
    if (SUCCEEDED(hr))
        hr = WriteMarkup(qName);
    if (SUCCEEDED(hr))
        hr = WriteMarkup("=\"");
    if (SUCCEEDED(hr))
        hr = WriteEscapedMarkup(value, EscapeContext::Attribute);
    return SUCCEEDED(hr) ? WriteMarkup("\"") : hr;
}
