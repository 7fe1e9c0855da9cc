#include "platform/printticket/XmlTreeAccess.h"

namespace printschema {

std::string AttributeText(const xmlNode* element, const char* name, const char* ns)
{
    xmlChar* value = ns ? xmlGetNsProp(element, BAD_CAST name, BAD_CAST ns) : xmlGetNoNsProp(element, BAD_CAST name);
    if (!value)
        return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool ResolveQName(const xmlNode* element, std::string_view qname, std::string* ns, std::string* local)
{
    const auto colon = qname.find(':');
    const std::string prefix = colon == std::string_view::npos ? std::string() : std::string(qname.substr(0, colon));
    *local = std::string(colon == std::string_view::npos ? qname : qname.substr(colon + 1));
    xmlNsPtr found = xmlSearchNs(element->doc, const_cast<xmlNode*>(element),
                                 prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
    if (!found) {
        ns->clear();
        return prefix.empty();
    }
    *ns = found->href ? reinterpret_cast<const char*>(found->href) : "";
    return true;
}

} // namespace printschema
