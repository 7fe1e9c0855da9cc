#include "platform/printticket/TicketReader.h"

#include <cstring>
#include <optional>

#include "platform/printticket/XmlTreeAccess.h"
#include "platform/xml/XmlTree.h"

namespace printschema {

namespace {

const char* ElementName(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::optional<PsKind> KindOf(const xmlNode* node)
{
    if (!node->ns || !node->ns->href || std::strcmp(reinterpret_cast<const char*>(node->ns->href), kFrameworkNs) != 0)
        return std::nullopt;
    static const std::pair<const char*, PsKind> kKinds[] = {
        {"Feature", PsKind::kFeature},           {"Option", PsKind::kOption},
        {"ScoredProperty", PsKind::kScoredProperty}, {"Property", PsKind::kProperty},
        {"ParameterInit", PsKind::kParameterInit}, {"ParameterRef", PsKind::kParameterRef},
        {"ParameterDef", PsKind::kParameterDef},   {"Value", PsKind::kValue},
    };
    for (const auto& [name, kind] : kKinds)
        if (std::strcmp(ElementName(node), name) == 0)
            return kind;
    return std::nullopt;
}

std::string Where(const xmlNode* node) { return "line " + std::to_string(xmlGetLineNo(node)) + ": "; }

class CTicketTreeReader {
public:
    explicit CTicketTreeReader(std::string* error) : error_(error) {}

    bool ReadChildren(const xmlNode* element, PsNode* parent)
    {
        for (const xmlNode* child = element->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE)
                continue;
            const auto kind = KindOf(child);
            if (!kind)
                continue;  // elements of other namespaces carry no Print Schema meaning
            PsNode node = PsNode::Make(*kind, {});
            if (!ReadElement(child, &node))
                return false;
            parent->Add(std::move(node));
        }
        return true;
    }

private:
    bool ReadElement(const xmlNode* element, PsNode* node)
    {
        if (node->kind == PsKind::kValue)
            return ReadValue(element, &node->value);
        const std::string name = AttributeText(element, "name");
        if (!name.empty() && !ResolveQName(element, name, &node->name.ns, &node->name.local)) {
            *error_ = Where(element) + "the name \"" + name + "\" of a " + ElementName(element) +
                      " uses an undeclared prefix";
            return false;
        }
        return ReadChildren(element, node);
    }

    bool ReadValue(const xmlNode* element, PsValue* value)
    {
        xmlChar* content = xmlNodeGetContent(element);
        value->text = content ? reinterpret_cast<const char*>(content) : "";
        xmlFree(content);
        const std::string type = AttributeText(element, "type", kXsiNs);
        if (!type.empty() && !ResolveQName(element, type, &value->type.ns, &value->type.local)) {
            *error_ = Where(element) + "the value type \"" + type + "\" uses an undeclared prefix";
            return false;
        }
        if (value->type == Xsd("QName")) {
            const auto first = value->text.find_first_not_of(" \t\r\n");
            const auto last = value->text.find_last_not_of(" \t\r\n");
            const std::string written = first == std::string::npos ? "" : value->text.substr(first, last - first + 1);
            PsName resolved;
            // An undeclared prefix keeps the text as written, without a namespace.
            if (ResolveQName(element, written, &resolved.ns, &resolved.local))
                value->qname = resolved;
            else
                value->qname = PsName{"", written};
            value->text = value->qname->local;
        }
        return true;
    }

    std::string* error_;
};

} // namespace

HRESULT ReadPrintSchemaDocument(std::string_view text, std::string_view rootName, PsNode* root, std::string* error)
{
    const HRESULT invalid = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    XmlDocHolder doc = ParseXmlTree(text, error);
    if (!doc)
        return invalid;
    const xmlNode* element = xmlDocGetRootElement(doc.get());
    const std::string ns = element->ns && element->ns->href ? reinterpret_cast<const char*>(element->ns->href) : "";
    if (ns != kFrameworkNs || rootName != ElementName(element)) {
        *error = "the root element is \"" + std::string(ElementName(element)) + "\"" +
                 (ns.empty() ? std::string(" without namespace") : " in namespace \"" + ns + "\"") + ", not a " +
                 std::string(rootName) + " of the Print Schema framework";
        return invalid;
    }
    *root = PsNode::Make(PsKind::kRoot, Framework(rootName));
    CTicketTreeReader reader(error);
    return reader.ReadChildren(element, root) ? S_OK : invalid;
}

} // namespace printschema
