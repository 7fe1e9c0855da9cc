#pragma once
// The XML document object: a reference-counted DOM with XPath 1.0 selection through a prefix map,
// used for print tickets and print capabilities. Pages are never loaded into it (they are read by
// SAX, platform/xml/Sax.h). Text is UTF-8.
//
// Hostile input is refused, never followed: no external entities, no DTD loading, no network;
// internal entities are expanded within the parser's amplification limits, and nesting is bounded.
// A refused or malformed document is a failure HRESULT with a one-line message (ParseError).
#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Stream.h"

struct _xmlNode;
struct _xmlDoc;

enum class XmlNodeType { kNone, kElement, kAttribute, kText, kOther };

// One attribute as written on an element. Namespace declarations appear as "xmlns" / "xmlns:p"
// with the namespace "http://www.w3.org/2000/xmlns/".
struct XmlAttributeInfo {
    std::string qualifiedName;  // "xmlns:psf", "name", "xsi:type"
    std::string localName;      // "psf", "name", "type"
    std::string namespaceUri;   // empty when the attribute has no namespace
    std::string value;
};

// A borrowed handle on a node of a CXmlDocument: valid while the document lives and the node has
// not been removed. A default handle is null (operator bool false) and answers empty values.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(_xmlNode* node) : node_(node) {}

    explicit operator bool() const { return node_ != nullptr; }
    friend bool operator==(const XmlNode&, const XmlNode&) = default;

    XmlNodeType Type() const;
    std::string QualifiedName() const;  // "psf:Feature"; an attribute's "xsi:type"
    std::string LocalName() const;      // "Feature"
    std::string NamespaceUri() const;   // empty for no namespace
    // An element's attributes: namespace declarations first (in the order written), then the
    // other attributes in document order. Empty for other nodes.
    std::vector<XmlAttributeInfo> Attributes() const;
    // The value of the attribute with this qualified name; false (value untouched) when absent.
    bool GetAttribute(std::string_view qualifiedName, std::string* value) const;
    // The text of the node and its descendants, leading and trailing white space removed, as a
    // DOM that does not preserve white space gives it. An attribute's text is its value.
    std::string Text() const;
    // The node's value as text; nodes carry no schema types here, so it is Text().
    std::string TypedValueText() const;
    XmlNode Parent() const;  // null for the root element's parent document and unattached nodes
    std::vector<XmlNode> ChildElements() const;

    _xmlNode* Raw() const { return node_; }

private:
    _xmlNode* node_ = nullptr;
};

using XmlNamespaceMap = std::map<std::string, std::string>;  // prefix -> namespace URI

class CXmlDocument final : public IUnknown {
public:
    static constexpr IID kIid = GuidLiteral("{5B8F3C1E-7A42-4F0D-9C6B-2E1D8A47F3B5}");

    // A new empty document (no root element) with one reference for the caller.
    static HRESULT Create(CXmlDocument** document);

    // Replace the content with a parsed document. On failure the document is left empty and
    // ParseError() holds "line L, column C: reason". Load reads the stream in chunks to its end.
    HRESULT Load(ISequentialStream* stream);
    HRESULT LoadXml(std::string_view text);
    const std::string& ParseError() const { return parseError_; }

    // The document serialised as UTF-8 with an XML declaration. E_PENDING when empty.
    HRESULT Save(std::string* text) const;
    // A new memory stream holding Save()'s text, positioned at 0. It is a copy: writing to it
    // does not change the document.
    HRESULT GetStream(IStream** stream) const;
    // A deep copy with its own selection namespaces copied too.
    HRESULT Clone(CXmlDocument** copy) const;

    // The prefixes XPath expressions may use; replaces the previous map. Prefixes are those of the
    // expressions, independent of the prefixes the document itself uses.
    HRESULT SetSelectionNamespaces(const XmlNamespaceMap& namespaces);
    const XmlNamespaceMap& SelectionNamespaces() const { return selectionNamespaces_; }

    // The first node in document order matched by xpath, evaluated from the document or relative
    // to context; S_FALSE and a null node when nothing matches; E_INVALIDARG for a bad expression.
    HRESULT SelectSingleNode(std::string_view xpath, XmlNode* node) const;
    HRESULT SelectSingleNode(XmlNode context, std::string_view xpath, XmlNode* node) const;
    // Every node matched, in document order (empty list: S_OK).
    HRESULT SelectNodes(std::string_view xpath, std::vector<XmlNode>* nodes) const;
    HRESULT SelectNodes(XmlNode context, std::string_view xpath, std::vector<XmlNode>* nodes) const;

    XmlNode DocumentElement() const;

    // A new unattached element; the document frees it if it is never appended.
    // namespaceUri empty: no namespace (then the name must not carry a prefix).
    HRESULT CreateElement(std::string_view qualifiedName, std::string_view namespaceUri, XmlNode* element);
    // Sets (adds or replaces) an attribute. namespaceUri empty: no namespace.
    HRESULT SetAttribute(XmlNode element, std::string_view qualifiedName, std::string_view namespaceUri,
                         std::string_view value);
    // Replaces the element's children with one text node.
    HRESULT SetText(XmlNode element, std::string_view text);
    // Appends child (unattached, or moved from elsewhere in this document) as the last child of
    // parent. E_INVALIDARG when child is parent or one of its ancestors.
    HRESULT AppendChild(XmlNode parent, XmlNode child);
    // Makes element the root of an empty document; E_INVALIDARG when it has one already.
    HRESULT AppendRoot(XmlNode element);
    // Removes node from its parent and frees it with its subtree: its handles become invalid.
    // S_FALSE (nothing done) when it has no parent.
    HRESULT RemoveNode(XmlNode node);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // Documents alive in the process; tests use it to find leaks.
    static long LiveCount();

private:
    CXmlDocument();
    ~CXmlDocument();
    void Reset();
    HRESULT Parse(ISequentialStream* stream, std::string_view text);
    bool Owns(XmlNode node) const;

    std::atomic<ULONG> refs_{1};
    _xmlDoc* doc_ = nullptr;
    XmlNamespaceMap selectionNamespaces_;
    std::vector<_xmlNode*> unattached_;  // created, not yet appended
    std::string parseError_;
};
