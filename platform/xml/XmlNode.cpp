#include <libxml/tree.h>

#include "platform/xml/XmlDocument.h"

namespace {

constexpr char kXmlnsUri[] = "http://www.w3.org/2000/xmlns/";

std::string_view Chars(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

std::string Qualified(const xmlNs* ns, const xmlChar* name)
{
    std::string text;
    if (ns && ns->prefix) {
        text = Chars(ns->prefix);
        text += ':';
    }
    text += Chars(name);
    return text;
}

// Owns a string that libxml2 allocated.
std::string TakeString(xmlChar* text)
{
    std::string result(Chars(text));
    xmlFree(text);
    return result;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trimmed(std::string text)
{
    std::size_t end = text.size();
    while (end > 0 && IsXmlSpace(text[end - 1]))
        --end;
    std::size_t begin = 0;
    while (begin < end && IsXmlSpace(text[begin]))
        ++begin;
    return text.substr(begin, end - begin);
}

XmlAttributeInfo DeclarationInfo(const xmlNs* ns)
{
    XmlAttributeInfo info;
    info.localName = ns->prefix ? Chars(ns->prefix) : "xmlns";
    info.qualifiedName = ns->prefix ? "xmlns:" + info.localName : "xmlns";
    info.namespaceUri = kXmlnsUri;
    info.value = Chars(ns->href);
    return info;
}

} // namespace

XmlNodeType XmlNode::Type() const
{
    if (!node_)
        return XmlNodeType::kNone;
    switch (node_->type) {
    case XML_ELEMENT_NODE: return XmlNodeType::kElement;
    case XML_ATTRIBUTE_NODE: return XmlNodeType::kAttribute;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE: return XmlNodeType::kText;
    default: return XmlNodeType::kOther;
    }
}

std::string XmlNode::QualifiedName() const
{
    if (!node_)
        return {};
    if (node_->type == XML_TEXT_NODE)
        return "#text";
    return Qualified(node_->ns, node_->name);
}

std::string XmlNode::LocalName() const { return node_ ? std::string(Chars(node_->name)) : std::string(); }

std::string XmlNode::NamespaceUri() const
{
    return node_ && node_->ns ? std::string(Chars(node_->ns->href)) : std::string();
}

std::vector<XmlAttributeInfo> XmlNode::Attributes() const
{
    std::vector<XmlAttributeInfo> list;
    if (!node_ || node_->type != XML_ELEMENT_NODE)
        return list;
    for (const xmlNs* ns = node_->nsDef; ns; ns = ns->next)
        list.push_back(DeclarationInfo(ns));
    for (xmlAttr* attribute = node_->properties; attribute; attribute = attribute->next) {
        XmlAttributeInfo info;
        info.qualifiedName = Qualified(attribute->ns, attribute->name);
        info.localName = Chars(attribute->name);
        if (attribute->ns)
            info.namespaceUri = Chars(attribute->ns->href);
        info.value = TakeString(xmlNodeListGetString(node_->doc, attribute->children, 1));
        list.push_back(std::move(info));
    }
    return list;
}

bool XmlNode::GetAttribute(std::string_view qualifiedName, std::string* value) const
{
    if (!node_ || node_->type != XML_ELEMENT_NODE || !value)
        return false;
    for (const xmlNs* ns = node_->nsDef; ns; ns = ns->next) {
        XmlAttributeInfo info = DeclarationInfo(ns);
        if (info.qualifiedName == qualifiedName) {
            *value = std::move(info.value);
            return true;
        }
    }
    for (xmlAttr* attribute = node_->properties; attribute; attribute = attribute->next) {
        if (Qualified(attribute->ns, attribute->name) == qualifiedName) {
            *value = TakeString(xmlNodeListGetString(node_->doc, attribute->children, 1));
            return true;
        }
    }
    return false;
}

std::string XmlNode::Text() const
{
    if (!node_)
        return {};
    return Trimmed(TakeString(xmlNodeGetContent(node_)));
}

std::string XmlNode::TypedValueText() const { return Text(); }

XmlNode XmlNode::Parent() const
{
    if (!node_ || !node_->parent || node_->parent->type == XML_DOCUMENT_NODE)
        return XmlNode();
    return XmlNode(node_->parent);
}

std::vector<XmlNode> XmlNode::ChildElements() const
{
    std::vector<XmlNode> children;
    if (!node_ || node_->type != XML_ELEMENT_NODE)
        return children;
    for (xmlNode* child = node_->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            children.emplace_back(child);
    }
    return children;
}
