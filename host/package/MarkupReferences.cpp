#include "host/package/MarkupReferences.h"

#include <string_view>

#include "host/package/XmlScanner.h"

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// The next whitespace-separated token of text, advancing it.
std::string_view NextToken(std::string_view* text)
{
    *text = Trim(*text);
    const std::size_t end = text->find_first_of(" \t\r\n}");
    const std::string_view token = text->substr(0, end);
    text->remove_prefix(end == std::string_view::npos ? text->size() : end);
    return token;
}

void Add(std::vector<MarkupReference>* references, ResourceKind kind, std::string_view uri)
{
    uri = Trim(uri);
    if (!uri.empty())
        references->push_back({kind, std::string(uri)});
}

// Markup extensions ("{StaticResource x}") name no part, except ColorConvertedBitmap.
void AddImageSource(std::vector<MarkupReference>* references, std::string_view value)
{
    value = Trim(value);
    if (!value.starts_with('{')) {
        Add(references, ResourceKind::Image, value);
        return;
    }
    value.remove_prefix(1);
    if (NextToken(&value) != "ColorConvertedBitmap")
        return;
    Add(references, ResourceKind::Image, NextToken(&value));
    Add(references, ResourceKind::ColorProfile, NextToken(&value));
}

void AddContextColor(std::vector<MarkupReference>* references, std::string_view value)
{
    value = Trim(value);
    if (!value.starts_with("ContextColor "))
        return;
    value.remove_prefix(13);
    Add(references, ResourceKind::ColorProfile, NextToken(&value));
}

} // namespace

HRESULT ScanMarkupReferences(IPrintReadStream* stream, MarkupRoot root, std::vector<MarkupReference>* references,
                             std::string* error)
{
    const std::string_view rootName = root == MarkupRoot::FixedPage ? "FixedPage" : "ResourceDictionary";
    bool wrongRoot = false;
    const HRESULT hr = ScanXml(
        stream,
        [&](const XmlStartTag& tag) {
            if (tag.depth == 0 && tag.localName != rootName) {
                wrongRoot = true;
                return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
            }
            for (const XmlAttribute& a : tag.attributes) {
                if (!a.namespaceUri.empty())
                    continue;
                if (a.localName == "FontUri" && tag.localName == "Glyphs")
                    Add(references, ResourceKind::Font, a.value);
                else if (a.localName == "ImageSource" && tag.localName == "ImageBrush")
                    AddImageSource(references, a.value);
                else if (a.localName == "Source" && tag.localName == "ResourceDictionary")
                    Add(references, ResourceKind::ResourceDictionary, a.value);
                else
                    AddContextColor(references, a.value);
            }
            return S_OK;
        },
        error);
    if (wrongRoot && error)
        *error = "the root element is not " + std::string(rootName);
    return hr;
}
