#pragma once
// Namespaces, relationship types and content types of XPS 1.0, OpenXPS and OPC.
#include <string>
#include <string_view>

namespace xps_names {

inline constexpr std::string_view kXpsNamespace = "http://schemas.microsoft.com/xps/2005/06";
inline constexpr std::string_view kOpenXpsNamespace = "http://schemas.openxps.org/oxps/v1.0";
inline constexpr std::string_view kRelationshipsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr std::string_view kContentTypesNamespace = "http://schemas.openxmlformats.org/package/2006/content-types";

// Relationship types end the same way in both families: "<namespace>/fixedrepresentation".
inline constexpr std::string_view kRelFixedRepresentation = "fixedrepresentation";
inline constexpr std::string_view kRelRequiredResource = "required-resource";
inline constexpr std::string_view kRelPrintTicket = "printticket";
inline constexpr std::string_view kRelRestrictedFont = "restricted-font";
inline constexpr std::string_view kRelThumbnail = "http://schemas.openxmlformats.org/package/2006/relationships/metadata/thumbnail";

inline constexpr std::string_view kTypeRelationships = "application/vnd.openxmlformats-package.relationships+xml";
inline constexpr std::string_view kTypeSequence = "application/vnd.ms-package.xps-fixeddocumentsequence+xml";
inline constexpr std::string_view kTypeDocument = "application/vnd.ms-package.xps-fixeddocument+xml";
inline constexpr std::string_view kTypePage = "application/vnd.ms-package.xps-fixedpage+xml";
inline constexpr std::string_view kTypeDictionary = "application/vnd.ms-package.xps-resourcedictionary+xml";
inline constexpr std::string_view kTypePrintTicket = "application/vnd.ms-printing.printticket+xml";
inline constexpr std::string_view kTypeColorProfile = "application/vnd.ms-color.iccprofile";
inline constexpr std::string_view kTypeFont = "application/vnd.ms-opentype";
inline constexpr std::string_view kTypeObfuscatedFont = "application/vnd.ms-package.obfuscated-opentype";
inline constexpr std::string_view kTypeDiscardControl = "application/vnd.ms-package.xps-discard-control+xml";
inline constexpr std::string_view kTypeOctetStream = "application/octet-stream";

// The relationship type of name in the family of the given namespace.
inline std::string RelationshipType(std::string_view familyNamespace, std::string_view name)
{
    std::string type(familyNamespace);
    type += '/';
    type += name;
    return type;
}

// True when type is "<XPS or OpenXPS namespace>/name".
inline bool IsRelationshipType(std::string_view type, std::string_view name)
{
    for (std::string_view family : {kXpsNamespace, kOpenXpsNamespace}) {
        if (type.size() == family.size() + 1 + name.size() && type.starts_with(family) && type[family.size()] == '/' &&
            type.ends_with(name))
            return true;
    }
    return false;
}

} // namespace xps_names
