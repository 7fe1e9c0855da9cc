#pragma once
// Parsing of XML from outside (tickets, printer descriptions) with libxml2 held to safe options:
// no network, no DTD loading, no entity substitution, the parser's default depth limit. A document
// type declaration is refused outright: package parts may not carry one (OPC), and refusing it
// keeps external and recursive entities out before anything could be loaded.
#include <memory>
#include <string>
#include <string_view>

#include <libxml/tree.h>

namespace printschema {

struct XmlDocDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocHolder = std::unique_ptr<xmlDoc, XmlDocDeleter>;

// The parsed document, or null with *error = "line L, column C: reason".
XmlDocHolder ParseUntrustedXml(std::string_view text, std::string* error);

// The element's attribute "name" (no namespace) as written; empty when absent.
std::string AttributeText(const xmlNode* element, const char* name, const char* ns = nullptr);
// Resolves a QName written in element's scope ("psk:ISOA4", "Foo"); false for an undeclared prefix.
bool ResolveQName(const xmlNode* element, std::string_view qname, std::string* ns, std::string* local);

} // namespace printschema
