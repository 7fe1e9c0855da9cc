#pragma once
// Reading a parsed ticket or printer description (platform/xml/XmlTree.h): attribute values and
// the QNames Print Schema writes in attribute values, resolved in the element's scope.
#include <string>
#include <string_view>

#include <libxml/tree.h>

namespace printschema {

// The element's attribute "name" (no namespace) as written; empty when absent.
std::string AttributeText(const xmlNode* element, const char* name, const char* ns = nullptr);
// Resolves a QName written in element's scope ("psk:ISOA4", "Foo"); false for an undeclared prefix.
bool ResolveQName(const xmlNode* element, std::string_view qname, std::string* ns, std::string* local);

} // namespace printschema
