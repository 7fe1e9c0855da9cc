#include "framework/TicketDocument.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "framework/XDException.h"
#include "framework/XPathBuilder.h"
#include "platform/printticket/PrintSchemaNames.h"

namespace {

// The expression prefix under which the root is first found, whatever the document calls it.
constexpr char kSelectionPrefix[] = "psf";

std::string IntegerText(std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    return text;
}

// Decimal reading as the C library's strtol does it for 32-bit longs.
std::int32_t ParseDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t(INT32_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// outer is node or one of its ancestors.
bool Contains(XmlNode outer, XmlNode node)
{
    for (; node; node = node.Parent()) {
        if (node == outer)
            return true;
    }
    return false;
}

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}

} // namespace

CTicketDocument::CTicketDocument(std::string_view rootName, std::string_view privateNamespaceUri,
                                 CXmlDocument* document)
    : document_(document), rootName_(rootName), privateNamespace_(privateNamespaceUri)
{
    if (!document_)
        throw CXDException(E_PENDING);
    isCapabilities = rootName_ == "PrintCapabilities";
    ThrowIfFailed(document_->SetSelectionNamespaces({{kSelectionPrefix, printschema::kFrameworkNs}}));
    HRESULT hr = FindPrefix(printschema::kFrameworkNs, &psfPrefix);
    if (SUCCEEDED(hr))
        hr = FindPrefix(printschema::kKeywordsNs, &pskPrefix);
    if (SUCCEEDED(hr))
        hr = FindPrefix(printschema::kXsiNs, &xsiPrefix);
    if (SUCCEEDED(hr))
        hr = FindPrefix(printschema::kXsdNs, &xsdPrefix);
    if (SUCCEEDED(hr))
        hr = FindPrefix(privateNamespace_, &privatePrefix);
    ThrowIfFailed(hr);
    hasPrivatePrefix = !privatePrefix.empty();
    if (psfPrefix.empty())
        throw CXDException(E_FAIL);
    // The query templates use the document's own framework prefix. "psf" stays bound as well, so
    // that SelectRoot keeps working in documents that chose another prefix.
    ThrowIfFailed(document_->SetSelectionNamespaces({{kSelectionPrefix, printschema::kFrameworkNs},
                                                     {psfPrefix.substr(0, psfPrefix.size() - 1), printschema::kFrameworkNs}}));
}

HRESULT CTicketDocument::FindPrefix(std::string_view namespaceUri, std::string* prefix) const
{
    XmlNode root;
    HRESULT hr = SelectRoot(&root);
    if (hr != S_OK)
        return hr;
    return GuardResult([&]() -> HRESULT {
        for (const XmlAttributeInfo& attribute : root.Attributes()) {
            if (attribute.value != namespaceUri)
                continue;
            // A default namespace is no prefix: the namespace counts as undeclared.
            if (attribute.qualifiedName == "xmlns")
                continue;
            if (!StartsWith(attribute.qualifiedName, "xmlns:"))
                return E_FAIL;
            *prefix = attribute.qualifiedName.substr(6) + ":";
            return S_OK;
        }
        return S_FALSE;
    });
}

HRESULT CTicketDocument::SelectNode(std::string_view xpath, XmlNode* node) const
{
    if (!node)
        return E_POINTER;
    *node = XmlNode();
    if (xpath.empty())
        return E_INVALIDARG;
    return document_->SelectSingleNode(xpath, node);
}

HRESULT CTicketDocument::SelectNodes(std::string_view xpath, std::vector<XmlNode>* nodes) const
{
    if (!nodes)
        return E_POINTER;
    nodes->clear();
    if (xpath.empty())
        return E_INVALIDARG;
    return document_->SelectNodes(xpath, nodes);
}

HRESULT CTicketDocument::SelectRoot(XmlNode* root) const
{
    return GuardResult([&] { return SelectNode(std::string("//") + kSelectionPrefix + ":" + rootName_, root); });
}

HRESULT CTicketDocument::RemoveNode(XmlNode node)
{
    if (!node)
        return E_POINTER;
    return document_->RemoveNode(node);
}

HRESULT CTicketDocument::GetAttributeText(XmlNode node, std::string_view name, std::string* text) const
{
    if (!text)
        return E_POINTER;
    if (!node || name.empty())
        return E_INVALIDARG;
    return GuardResult([&] { return node.GetAttribute(name, text) ? S_OK : S_FALSE; });
}

HRESULT CTicketDocument::NodeExists(std::string_view xpath) const
{
    XmlNode node;
    const HRESULT hr = SelectNode(xpath, &node);
    if (FAILED(hr))
        return hr;
    return hr == S_OK ? S_OK : ResultNotFound;
}

HRESULT CTicketDocument::GetValueText(std::string_view xpath, std::string* text) const
{
    if (!text)
        return E_POINTER;
    return GuardResult([&]() -> HRESULT {
        XmlNode node;
        HRESULT hr = SelectNode(xpath, &node);
        if (hr != S_OK)
            return hr;
        XmlNode value;
        hr = document_->SelectSingleNode(node, psfPrefix + "Value", &value);
        if (FAILED(hr))
            return hr;
        if (hr == S_OK) {
            *text = value.TypedValueText();
            return S_OK;
        }
        XmlNode reference;
        hr = document_->SelectSingleNode(node, psfPrefix + "ParameterRef", &reference);
        std::string name;
        if (hr != S_OK || !reference.GetAttribute("name", &name))
            return FAILED(hr) ? hr : S_FALSE;
        std::vector<XmlNode> inits;
        hr = SelectNodes("//" + psfPrefix + "ParameterInit", &inits);
        if (FAILED(hr))
            return hr;
        // The last initialisation of the parameter wins.
        for (auto init = inits.rbegin(); init != inits.rend(); ++init) {
            std::string initName;
            if (init->GetAttribute("name", &initName) && initName == name) {
                *text = init->Text();
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

HRESULT CTicketDocument::GetValueInt(std::string_view xpath, std::int32_t* value) const
{
    if (!value)
        return E_POINTER;
    std::string text;
    const HRESULT hr = GetValueText(xpath, &text);
    if (hr == S_OK)
        *value = ParseDecimal(text);
    return hr;
}

HRESULT CTicketDocument::FeatureExists(std::string_view name) const
{
    if (name.empty())
        return E_INVALIDARG;
    return GuardResult([&] {
        CXPathBuilder path(psfPrefix);
        const HRESULT hr = path.AddFeature(pskPrefix, name);
        return FAILED(hr) ? hr : NodeExists(path.GetPath());
    });
}

std::string CTicketDocument::StripKnownPrefix(std::string_view name, bool* isPrivate) const
{
    // An undeclared prefix is empty and matches nothing: every name would begin with it.
    if (!privatePrefix.empty() && StartsWith(name, privatePrefix)) {
        if (isPrivate)
            *isPrivate = true;
        return std::string(name.substr(privatePrefix.size()));
    }
    if (isPrivate)
        *isPrivate = false;
    if (!pskPrefix.empty() && StartsWith(name, pskPrefix))
        return std::string(name.substr(pskPrefix.size()));
    return std::string(name);
}

HRESULT CTicketDocument::GetOptionName(std::string_view prefix, std::string_view feature, std::string* name,
                                       bool* isPrivate) const
{
    if (!name || !isPrivate)
        return E_POINTER;
    if (feature.empty())
        return E_INVALIDARG;
    return GuardResult([&]() -> HRESULT {
        CXPathBuilder path(psfPrefix);
        HRESULT hr = path.AddFeature(prefix, feature);
        if (SUCCEEDED(hr))
            hr = path.AddOptionOrValue(pskPrefix);
        XmlNode option;
        if (SUCCEEDED(hr))
            hr = SelectNode(path.GetPath(), &option);
        if (hr != S_OK)
            return FAILED(hr) ? hr : ResultNotFound;
        std::string text;
        if (!option.GetAttribute("name", &text))
            text = option.TypedValueText();
        *name = StripKnownPrefix(text, isPrivate);
        return S_OK;
    });
}

HRESULT CTicketDocument::GetSubFeatureOptionName(std::string_view prefix, std::string_view feature,
                                                 std::string_view subPrefix, std::string_view subFeature,
                                                 std::string* name, bool* isPrivate) const
{
    if (!name || !isPrivate)
        return E_POINTER;
    if (feature.empty() || subFeature.empty())
        return E_INVALIDARG;
    return GuardResult([&]() -> HRESULT {
        CXPathBuilder path(psfPrefix);
        HRESULT hr = path.AddFeature(prefix, feature);
        if (SUCCEEDED(hr))
            hr = path.AddFeature(subPrefix, subFeature);
        if (SUCCEEDED(hr))
            hr = path.AddOptionOrValue(pskPrefix);
        XmlNode option;
        if (SUCCEEDED(hr))
            hr = SelectNode(path.GetPath(), &option);
        std::string text;
        if (hr == S_OK && !option.GetAttribute("name", &text))
            hr = S_FALSE;
        if (hr != S_OK)
            return FAILED(hr) ? hr : ResultNotFound;
        *name = StripKnownPrefix(text, isPrivate);
        return S_OK;
    });
}

HRESULT CTicketDocument::GetScoredPropertyText(std::string_view feature, std::string_view property,
                                               std::string* text) const
{
    if (!text)
        return E_POINTER;
    if (feature.empty() || property.empty())
        return E_INVALIDARG;
    return GuardResult([&] {
        CXPathBuilder path(psfPrefix);
        HRESULT hr = path.AddFeature(pskPrefix, feature);
        if (SUCCEEDED(hr))
            hr = path.AddScoredProperty(pskPrefix, property);
        if (SUCCEEDED(hr))
            hr = GetValueText(path.GetPath(), text);
        return hr == S_FALSE ? ResultNotFound : hr;
    });
}

HRESULT CTicketDocument::GetScoredPropertyInt(std::string_view feature, std::string_view property,
                                              std::int32_t* value) const
{
    if (!value)
        return E_POINTER;
    std::string text;
    const HRESULT hr = GetScoredPropertyText(feature, property, &text);
    if (hr == S_OK)
        *value = ParseDecimal(text);
    return hr;
}

HRESULT CTicketDocument::GetPrivatePropertyText(std::string_view name, std::string* text) const
{
    if (!text)
        return E_POINTER;
    if (name.empty())
        return E_INVALIDARG;
    return GuardResult([&] {
        CXPathBuilder path(psfPrefix);
        HRESULT hr = path.AddProperty(privatePrefix, name);
        if (SUCCEEDED(hr))
            hr = GetValueText(path.GetPath(), text);
        return hr == S_FALSE ? ResultNotFound : hr;
    });
}

HRESULT CTicketDocument::GetPrivatePropertyInt(std::string_view name, std::int32_t* value) const
{
    if (!value)
        return E_POINTER;
    std::string text;
    const HRESULT hr = GetPrivatePropertyText(name, &text);
    if (hr == S_OK)
        *value = ParseDecimal(text);
    return hr;
}

int CTicketDocument::WordIndex(std::string_view text, std::span<const std::string_view> words)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

HRESULT CTicketDocument::RemoveFeature(std::string_view name) { return RemoveFeatureWithPrefix(pskPrefix, name); }

HRESULT CTicketDocument::RemovePrivateFeature(std::string_view name)
{
    return RemoveFeatureWithPrefix(privatePrefix, name);
}

HRESULT CTicketDocument::RemoveFeatureWithPrefix(std::string_view prefix, std::string_view name)
{
    if (name.empty())
        return E_INVALIDARG;
    return GuardResult([&]() -> HRESULT {
        CXPathBuilder builder(psfPrefix);
        HRESULT hr = builder.AddFeature(prefix, name);
        if (FAILED(hr))
            return hr;
        const std::string path = builder.GetPath();
        XmlNode feature;
        while ((hr = SelectNode(path, &feature)) == S_OK) {
            std::vector<XmlNode> inits;
            hr = SelectNodes("//" + psfPrefix + "ParameterInit", &inits);
            if (FAILED(hr))
                return hr;
            // Names first: a ParameterInit removed below may hold nodes of the list.
            std::vector<std::string> referenced;
            if (!inits.empty()) {
                std::vector<XmlNode> references;
                hr = SelectNodes(path + "//" + psfPrefix + "ParameterRef", &references);
                if (FAILED(hr))
                    return hr;
                for (XmlNode reference : references) {
                    std::string referenceName;
                    if (reference.GetAttribute("name", &referenceName))
                        referenced.push_back(std::move(referenceName));
                }
            }
            // Reverse document order removes nested elements before those holding them, so that
            // no handle outlives its node.
            bool featureRemoved = false;
            for (auto init = inits.rbegin(); init != inits.rend(); ++init) {
                std::string initName;
                if (!init->GetAttribute("name", &initName) ||
                    std::find(referenced.begin(), referenced.end(), initName) == referenced.end())
                    continue;
                featureRemoved = featureRemoved || Contains(*init, feature);
                hr = document_->RemoveNode(*init);
                if (FAILED(hr))
                    return hr;
            }
            if (!featureRemoved) {
                hr = document_->RemoveNode(feature);
                if (FAILED(hr))
                    return hr;
            }
        }
        return FAILED(hr) ? hr : S_OK;
    });
}

HRESULT CTicketDocument::RemoveFirst(std::string_view xpath)
{
    XmlNode node;
    const HRESULT hr = SelectNode(xpath, &node);
    if (hr != S_OK)
        return hr;
    return document_->RemoveNode(node);
}

HRESULT CTicketDocument::RemovePrivateProperty(std::string_view name)
{
    if (name.empty())
        return E_INVALIDARG;
    return GuardResult([&] {
        CXPathBuilder path(psfPrefix);
        const HRESULT hr = path.AddProperty(privatePrefix, name);
        return FAILED(hr) ? hr : RemoveFirst(path.GetPath());
    });
}

HRESULT CTicketDocument::RemoveParameterInit(std::string_view name)
{
    if (name.empty())
        return E_INVALIDARG;
    return GuardResult([&] {
        CXPathBuilder path(psfPrefix);
        const HRESULT hr = path.AddParameterInit(pskPrefix, name);
        return FAILED(hr) ? hr : RemoveFirst(path.GetPath());
    });
}

HRESULT CTicketDocument::CreateElement(std::string_view qualifiedName, XmlNode* element)
{
    if (!element)
        return E_POINTER;
    if (qualifiedName.empty())
        return E_INVALIDARG;
    return document_->CreateElement(qualifiedName, printschema::kFrameworkNs, element);
}

HRESULT CTicketDocument::SetAttribute(XmlNode element, std::string_view qualifiedName, std::string_view namespaceUri,
                                      std::string_view value)
{
    if (!element)
        return E_POINTER;
    if (qualifiedName.empty())
        return E_INVALIDARG;
    return document_->SetAttribute(element, qualifiedName, namespaceUri, value);
}

HRESULT CTicketDocument::AppendChild(XmlNode parent, XmlNode child)
{
    if (!parent || !child)
        return E_POINTER;
    return document_->AppendChild(parent, child);
}

HRESULT CTicketDocument::CreateNamed(std::string_view element, std::string_view prefix, std::string_view name,
                                     XmlNode* made)
{
    if (!made)
        return E_POINTER;
    *made = XmlNode();
    if (name.empty())
        return E_INVALIDARG;
    return GuardResult([&] {
        XmlNode node;
        HRESULT hr = CreateElement(psfPrefix + std::string(element), &node);
        if (SUCCEEDED(hr))
            hr = SetAttribute(node, "name", "", std::string(prefix) + std::string(name));
        if (SUCCEEDED(hr))
            *made = node;
        return hr;
    });
}

HRESULT CTicketDocument::CreateValue(std::string_view type, std::string_view text, XmlNode* value)
{
    return GuardResult([&] {
        // Tickets that do not declare the schema namespaces on the root get them on the Value.
        const std::string xsi = xsiPrefix.empty() ? "xsi:" : xsiPrefix;
        const std::string xsd = xsdPrefix.empty() ? "xsd:" : xsdPrefix;
        XmlNode node;
        HRESULT hr = CreateElement(psfPrefix + "Value", &node);
        if (SUCCEEDED(hr) && xsdPrefix.empty())
            hr = SetAttribute(node, "xmlns:xsd", "", printschema::kXsdNs);
        if (SUCCEEDED(hr))
            hr = SetAttribute(node, xsi + "type", printschema::kXsiNs, xsd + std::string(type));
        if (SUCCEEDED(hr))
            hr = document_->SetText(node, text);
        if (SUCCEEDED(hr))
            *value = node;
        return hr;
    });
}

HRESULT CTicketDocument::CreateNamedWithValue(std::string_view element, std::string_view prefix, std::string_view name,
                                              std::string_view type, std::string_view text, XmlNode* made)
{
    if (!made)
        return E_POINTER;
    XmlNode node, value;
    HRESULT hr = CreateNamed(element, prefix, name, &node);
    if (SUCCEEDED(hr))
        hr = CreateValue(type, text, &value);
    if (SUCCEEDED(hr))
        hr = document_->AppendChild(node, value);
    if (SUCCEEDED(hr))
        *made = node;
    return hr;
}

HRESULT CTicketDocument::CreateFeature(std::string_view prefix, std::string_view name, XmlNode* feature)
{
    return CreateNamed("Feature", prefix, name, feature);
}

HRESULT CTicketDocument::CreateOption(std::string_view prefix, std::string_view name, XmlNode* option)
{
    if (!option)
        return E_POINTER;
    *option = XmlNode();
    return GuardResult([&] {
        XmlNode node;
        HRESULT hr = name.empty() ? CreateElement(psfPrefix + "Option", &node) : CreateNamed("Option", prefix, name, &node);
        if (SUCCEEDED(hr) && isCapabilities)
            hr = SetAttribute(node, "constrained", "", pskPrefix + "None");
        if (SUCCEEDED(hr))
            *option = node;
        return hr;
    });
}

HRESULT CTicketDocument::CreateFeatureOption(bool isPrivate, std::string_view featureName, XmlNode* feature,
                                             XmlNode* option)
{
    return CreateFeatureWithOption(isPrivate, featureName, false, {}, feature, option);
}

HRESULT CTicketDocument::CreateFeatureWithOption(bool featureIsPrivate, std::string_view featureName,
                                                 bool optionIsPrivate, std::string_view optionName, XmlNode* feature,
                                                 XmlNode* option)
{
    if (!feature)
        return E_POINTER;
    XmlNode madeFeature, madeOption;
    HRESULT hr = CreateFeature(featureIsPrivate ? privatePrefix : pskPrefix, featureName, &madeFeature);
    if (SUCCEEDED(hr))
        hr = CreateOption(optionIsPrivate ? privatePrefix : pskPrefix, optionName, &madeOption);
    if (SUCCEEDED(hr))
        hr = document_->AppendChild(madeFeature, madeOption);
    if (SUCCEEDED(hr)) {
        *feature = madeFeature;
        if (option)
            *option = madeOption;
    }
    return hr;
}

HRESULT CTicketDocument::CreateProperty(std::string_view prefix, std::string_view name, XmlNode* property)
{
    return CreateNamed("Property", prefix, name, property);
}

HRESULT CTicketDocument::CreateScoredProperty(std::string_view prefix, std::string_view name, XmlNode* property)
{
    return CreateNamed("ScoredProperty", prefix, name, property);
}

HRESULT CTicketDocument::CreatePropertyValue(std::string_view prefix, std::string_view name, std::string_view type,
                                             std::string_view text, XmlNode* property)
{
    return CreateNamedWithValue("Property", prefix, name, type, text, property);
}

HRESULT CTicketDocument::CreateScoredPropertyValue(std::string_view prefix, std::string_view name,
                                                   std::string_view type, std::string_view text, XmlNode* property)
{
    return CreateNamedWithValue("ScoredProperty", prefix, name, type, text, property);
}

HRESULT CTicketDocument::CreateIntegerPropertyValue(std::string_view prefix, std::string_view name, std::int32_t value,
                                                    XmlNode* property)
{
    return CreatePropertyValue(prefix, name, "integer", IntegerText(value), property);
}

HRESULT CTicketDocument::CreateIntegerScoredProperty(std::string_view prefix, std::string_view name,
                                                     std::int32_t value, XmlNode* property)
{
    return CreateScoredPropertyValue(prefix, name, "integer", IntegerText(value), property);
}

HRESULT CTicketDocument::CreateStringScoredProperty(std::string_view prefix, std::string_view name,
                                                    std::string_view text, XmlNode* property)
{
    return CreateScoredPropertyValue(prefix, name, "string", text, property);
}

HRESULT CTicketDocument::CreateScoredPropertyWithChild(std::string_view prefix, std::string_view name, XmlNode child,
                                                       XmlNode* property)
{
    if (!property)
        return E_POINTER;
    if (!child)
        return E_INVALIDARG;
    XmlNode node;
    HRESULT hr = CreateScoredProperty(prefix, name, &node);
    if (SUCCEEDED(hr))
        hr = document_->AppendChild(node, child);
    if (SUCCEEDED(hr))
        *property = node;
    return hr;
}

HRESULT CTicketDocument::CreateParameterPair(std::string_view prefix, std::string_view name, std::string_view type,
                                             std::string_view text, XmlNode* reference, XmlNode* init)
{
    if (!reference || !init)
        return E_POINTER;
    XmlNode madeReference, madeInit;
    HRESULT hr = CreateNamed("ParameterRef", prefix, name, &madeReference);
    if (SUCCEEDED(hr))
        hr = CreateNamedWithValue("ParameterInit", prefix, name, type, text, &madeInit);
    if (SUCCEEDED(hr)) {
        *reference = madeReference;
        *init = madeInit;
    }
    return hr;
}

HRESULT CTicketDocument::CreateIntegerParameter(std::string_view name, std::int32_t value, XmlNode* reference,
                                                XmlNode* init)
{
    return GuardResult([&] { return CreateParameterPair(pskPrefix, name, "integer", IntegerText(value), reference, init); });
}

HRESULT CTicketDocument::CreatePrivateIntegerParameter(std::string_view name, std::int32_t value, XmlNode* init)
{
    if (!init)
        return E_POINTER;
    return GuardResult(
        [&] { return CreateNamedWithValue("ParameterInit", privatePrefix, name, "integer", IntegerText(value), init); });
}
