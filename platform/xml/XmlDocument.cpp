#include "platform/xml/XmlDocument.h"

#include <libxml/SAX2.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <new>

#include "platform/com/ComPtr.h"
#include "platform/xml/XmlParse.h"

namespace {

std::atomic<long> liveDocuments{0};
// libxml2's XML_DOM_RECONNS_REMOVEREDUND, which its public headers do not name.
constexpr int kRemoveRedundantDeclarations = 1;

const xmlChar* Xml(const std::string& text) { return reinterpret_cast<const xmlChar*>(text.c_str()); }

struct QualifiedName {
    std::string prefix;  // empty: none
    std::string local;
};

// Splits "p:local"; false for an empty name, an empty part or more than one colon.
bool SplitName(std::string_view name, QualifiedName* parts)
{
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) {
        parts->prefix.clear();
        parts->local = name;
    } else {
        parts->prefix = name.substr(0, colon);
        parts->local = name.substr(colon + 1);
        if (parts->prefix.empty() || parts->local.find(':') != std::string::npos)
            return false;
    }
    return !parts->local.empty();
}

// The namespace for prefix and uri as seen from element: an in-scope declaration when one binds
// the prefix to uri, else a new declaration on the element itself. Null when the element already
// declares the prefix for another namespace.
xmlNs* NamespaceFor(xmlNode* element, const std::string& prefix, const std::string& uri)
{
    const xmlChar* prefixText = prefix.empty() ? nullptr : Xml(prefix);
    xmlNs* inScope = xmlSearchNs(element->doc, element, prefixText);
    if (inScope && inScope->href && uri == reinterpret_cast<const char*>(inScope->href))
        return inScope;
    return xmlNewNs(element, Xml(uri), prefixText);
}

// Reports XPath errors through the document's result instead of the library's error output.
void IgnoreXPathError(void*, xmlErrorPtr) {}

bool IsAncestorOrSelf(const xmlNode* candidate, const xmlNode* node)
{
    for (; node; node = node->parent) {
        if (node == candidate)
            return true;
    }
    return false;
}

} // namespace

CXmlDocument::CXmlDocument() { ++liveDocuments; }

CXmlDocument::~CXmlDocument()
{
    Reset();
    xmlFreeDoc(doc_);
    --liveDocuments;
}

long CXmlDocument::LiveCount() { return liveDocuments.load(); }

HRESULT CXmlDocument::Create(CXmlDocument** document)
{
    if (!document)
        return E_POINTER;
    *document = nullptr;
    auto* made = new (std::nothrow) CXmlDocument;
    if (!made)
        return E_OUTOFMEMORY;
    made->doc_ = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!made->doc_) {
        made->Release();
        return E_OUTOFMEMORY;
    }
    *document = made;
    return S_OK;
}

HRESULT CXmlDocument::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == kIid) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CXmlDocument::AddRef() { return ++refs_; }

ULONG CXmlDocument::Release()
{
    const ULONG count = --refs_;
    if (count == 0)
        delete this;
    return count;
}

void CXmlDocument::Reset()
{
    // Unattached nodes may share the document's name dictionary: free them before the document.
    for (xmlNode* node : unattached_)
        xmlFreeNode(node);
    unattached_.clear();
}

HRESULT CXmlDocument::Parse(ISequentialStream* stream, std::string_view text)
{
    xmlSAXHandler sax;
    xmlSAXVersion(&sax, 2);
    CXmlParse parse(sax, XmlDocumentType::kInternalSubsetRead);
    const HRESULT hr = stream ? parse.Run(stream) : parse.Run(text);
    xmlDocPtr parsed = SUCCEEDED(hr) ? parse.TakeDocument() : nullptr;
    if (SUCCEEDED(hr) && !parsed)
        return E_OUTOFMEMORY;
    Reset();
    xmlFreeDoc(doc_);
    if (FAILED(hr)) {
        parseError_ = parse.Error();
        doc_ = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        return doc_ ? hr : E_OUTOFMEMORY;
    }
    parseError_.clear();
    doc_ = parsed;
    return S_OK;
}

HRESULT CXmlDocument::Load(ISequentialStream* stream)
{
    if (!stream)
        return E_POINTER;
    return Parse(stream, {});
}

HRESULT CXmlDocument::LoadXml(std::string_view text) { return Parse(nullptr, text); }

HRESULT CXmlDocument::Save(std::string* text) const
{
    if (!text)
        return E_POINTER;
    if (!xmlDocGetRootElement(doc_))
        return E_PENDING;
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc_, &buffer, &size, "UTF-8", 0);
    if (!buffer)
        return E_OUTOFMEMORY;
    try {
        text->assign(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        xmlFree(buffer);
        return E_OUTOFMEMORY;
    }
    xmlFree(buffer);
    return S_OK;
}

HRESULT CXmlDocument::GetStream(IStream** stream) const
{
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    std::string text;
    HRESULT hr = Save(&text);
    if (FAILED(hr))
        return hr;
    return CreateStreamOnText(text, stream);
}

HRESULT CXmlDocument::Clone(CXmlDocument** copy) const
{
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    ComPtr<CXmlDocument> made;
    HRESULT hr = Create(made.Put());
    if (FAILED(hr))
        return hr;
    xmlDocPtr copied = xmlCopyDoc(doc_, 1);
    if (!copied)
        return E_OUTOFMEMORY;
    xmlFreeDoc(made->doc_);
    made->doc_ = copied;
    try {
        made->selectionNamespaces_ = selectionNamespaces_;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *copy = made.Detach();
    return S_OK;
}

HRESULT CXmlDocument::SetSelectionNamespaces(const XmlNamespaceMap& namespaces)
{
    for (const auto& [prefix, uri] : namespaces) {
        if (prefix.empty() || prefix.find(':') != std::string::npos)
            return E_INVALIDARG;
    }
    try {
        selectionNamespaces_ = namespaces;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CXmlDocument::SelectSingleNode(std::string_view xpath, XmlNode* node) const
{
    return SelectSingleNode(XmlNode(), xpath, node);
}

HRESULT CXmlDocument::SelectSingleNode(XmlNode context, std::string_view xpath, XmlNode* node) const
{
    if (!node)
        return E_POINTER;
    *node = XmlNode();
    std::vector<XmlNode> nodes;
    const HRESULT hr = SelectNodes(context, xpath, &nodes);
    if (FAILED(hr))
        return hr;
    if (nodes.empty())
        return S_FALSE;
    *node = nodes.front();
    return S_OK;
}

HRESULT CXmlDocument::SelectNodes(std::string_view xpath, std::vector<XmlNode>* nodes) const
{
    return SelectNodes(XmlNode(), xpath, nodes);
}

HRESULT CXmlDocument::SelectNodes(XmlNode context, std::string_view xpath, std::vector<XmlNode>* nodes) const
{
    if (!nodes)
        return E_POINTER;
    nodes->clear();
    if (xpath.empty())
        return E_INVALIDARG;
    if (context && !Owns(context))
        return E_INVALIDARG;
    xmlXPathContextPtr evaluation = xmlXPathNewContext(doc_);
    if (!evaluation)
        return E_OUTOFMEMORY;
    evaluation->error = IgnoreXPathError;
    evaluation->node = context ? context.Raw() : reinterpret_cast<xmlNode*>(doc_);
    HRESULT hr = S_OK;
    for (const auto& [prefix, uri] : selectionNamespaces_) {
        if (xmlXPathRegisterNs(evaluation, Xml(prefix), Xml(uri)) != 0)
            hr = E_OUTOFMEMORY;
    }
    xmlXPathObjectPtr result = nullptr;
    if (SUCCEEDED(hr)) {
        const std::string expression(xpath);
        result = xmlXPathEvalExpression(Xml(expression), evaluation);
        if (!result || result->type != XPATH_NODESET)
            hr = E_INVALIDARG;
    }
    if (SUCCEEDED(hr) && result->nodesetval) {
        try {
            const xmlNodeSet* set = result->nodesetval;
            nodes->reserve(static_cast<std::size_t>(set->nodeNr));
            for (int i = 0; i < set->nodeNr; ++i) {
                // Namespace nodes are copies that die with the result: not handed out.
                if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
                    nodes->emplace_back(set->nodeTab[i]);
            }
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        }
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(evaluation);
    return hr;
}

XmlNode CXmlDocument::DocumentElement() const { return XmlNode(xmlDocGetRootElement(doc_)); }

bool CXmlDocument::Owns(XmlNode node) const { return node && node.Raw()->doc == doc_; }

HRESULT CXmlDocument::CreateElement(std::string_view qualifiedName, std::string_view namespaceUri, XmlNode* element)
{
    if (!element)
        return E_POINTER;
    *element = XmlNode();
    QualifiedName name;
    if (!SplitName(qualifiedName, &name) || (!name.prefix.empty() && namespaceUri.empty()))
        return E_INVALIDARG;
    try {
        unattached_.reserve(unattached_.size() + 1);
        const std::string uri(namespaceUri);
        xmlNode* made = xmlNewDocNode(doc_, nullptr, Xml(name.local), nullptr);
        if (!made)
            return E_OUTOFMEMORY;
        unattached_.push_back(made);
        if (!uri.empty()) {
            made->ns = xmlNewNs(made, Xml(uri), name.prefix.empty() ? nullptr : Xml(name.prefix));
            if (!made->ns)
                return E_OUTOFMEMORY;
        }
        *element = XmlNode(made);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CXmlDocument::SetAttribute(XmlNode element, std::string_view qualifiedName, std::string_view namespaceUri,
                                   std::string_view value)
{
    if (!Owns(element) || element.Type() != XmlNodeType::kElement)
        return E_INVALIDARG;
    QualifiedName name;
    if (!SplitName(qualifiedName, &name))
        return E_INVALIDARG;
    try {
        const std::string uri(namespaceUri);
        const std::string text(value);
        xmlNode* node = element.Raw();
        if (name.prefix == "xmlns" || (name.prefix.empty() && name.local == "xmlns")) {
            const std::string declared = name.prefix.empty() ? std::string() : name.local;
            return NamespaceFor(node, declared, text) ? S_OK : E_INVALIDARG;
        }
        if (name.prefix.empty() != uri.empty())
            return E_INVALIDARG;
        xmlAttr* attribute = nullptr;
        if (uri.empty()) {
            attribute = xmlSetProp(node, Xml(name.local), Xml(text));
        } else {
            xmlNs* ns = NamespaceFor(node, name.prefix, uri);
            if (!ns)
                return E_INVALIDARG;
            attribute = xmlSetNsProp(node, ns, Xml(name.local), Xml(text));
        }
        return attribute ? S_OK : E_OUTOFMEMORY;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CXmlDocument::SetText(XmlNode element, std::string_view text)
{
    if (!Owns(element) || element.Type() != XmlNodeType::kElement)
        return E_INVALIDARG;
    try {
        const std::string content(text);
        // xmlNodeSetContent would read entity references in the text; plain text is meant.
        xmlChar* escaped = xmlEncodeSpecialChars(doc_, Xml(content));
        if (!escaped)
            return E_OUTOFMEMORY;
        xmlNodeSetContent(element.Raw(), escaped);
        xmlFree(escaped);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CXmlDocument::AppendChild(XmlNode parent, XmlNode child)
{
    if (!Owns(parent) || !Owns(child) || parent.Type() != XmlNodeType::kElement ||
        child.Type() != XmlNodeType::kElement || IsAncestorOrSelf(child.Raw(), parent.Raw()))
        return E_INVALIDARG;
    xmlNode* node = child.Raw();
    unattached_.erase(std::remove(unattached_.begin(), unattached_.end(), node), unattached_.end());
    xmlUnlinkNode(node);
    if (!xmlAddChild(parent.Raw(), node))
        return E_OUTOFMEMORY;
    // Declarations the new place already has in scope are dropped, so that saved tickets stay clean.
    xmlDOMWrapReconcileNamespaces(nullptr, node, kRemoveRedundantDeclarations);
    return S_OK;
}

HRESULT CXmlDocument::AppendRoot(XmlNode element)
{
    if (!Owns(element) || element.Type() != XmlNodeType::kElement || xmlDocGetRootElement(doc_))
        return E_INVALIDARG;
    xmlNode* node = element.Raw();
    unattached_.erase(std::remove(unattached_.begin(), unattached_.end(), node), unattached_.end());
    xmlUnlinkNode(node);
    xmlDocSetRootElement(doc_, node);
    return S_OK;
}

HRESULT CXmlDocument::RemoveNode(XmlNode node)
{
    if (!Owns(node))
        return E_INVALIDARG;
    xmlNode* raw = node.Raw();
    if (!raw->parent)
        return S_FALSE;
    if (raw->type == XML_ATTRIBUTE_NODE)
        return xmlRemoveProp(reinterpret_cast<xmlAttr*>(raw)) == 0 ? S_OK : E_FAIL;
    xmlUnlinkNode(raw);
    xmlFreeNode(raw);
    return S_OK;
}
