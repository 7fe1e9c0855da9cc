#include "host/package/ContentTypes.h"

#include "host/package/PartName.h"
#include "host/package/XmlScanner.h"

std::string ContentTypeMap::Find(std::string_view partName) const
{
    if (const auto o = overrides.find(part_name::Key(partName)); o != overrides.end())
        return o->second;
    if (const auto d = defaults.find(part_name::Extension(partName)); d != defaults.end())
        return d->second;
    return {};
}

HRESULT ReadContentTypes(IPrintReadStream* stream, ContentTypeMap* map, std::string* error)
{
    return ScanXml(
        stream,
        [&](const XmlStartTag& tag) {
            const std::string type(tag.Attribute("ContentType"));
            if (tag.localName == "Default") {
                std::string extension;
                for (char c : tag.Attribute("Extension"))
                    extension += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
                map->defaults.emplace(std::move(extension), type);
            } else if (tag.localName == "Override") {
                map->overrides.emplace(part_name::Key(tag.Attribute("PartName")), type);
            }
            return S_OK;
        },
        error);
}
