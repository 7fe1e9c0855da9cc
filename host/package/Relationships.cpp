#include "host/package/Relationships.h"

#include <optional>

#include "host/package/PartName.h"
#include "host/package/XmlScanner.h"

HRESULT ReadRelationships(IPrintReadStream* stream, const std::string& source, std::vector<Relationship>* relationships,
                          std::string* error)
{
    std::optional<std::string> badTarget;
    const HRESULT hr = ScanXml(
        stream,
        [&](const XmlStartTag& tag) {
            if (tag.localName != "Relationship")
                return S_OK;
            Relationship r;
            r.type = tag.Attribute("Type");
            r.external = tag.Attribute("TargetMode") == "External";
            if (!r.external) {
                const std::string_view target = tag.Attribute("Target");
                const auto resolved = part_name::Resolve(source == "/" ? std::string_view("/") : std::string_view(source), target);
                if (!resolved) {
                    badTarget = std::string(target);
                    return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
                }
                r.target = *resolved;
            }
            relationships->push_back(std::move(r));
            return S_OK;
        },
        error);
    if (badTarget && error)
        *error = "relationship target \"" + *badTarget + "\" is not a part of the package";
    return hr;
}
