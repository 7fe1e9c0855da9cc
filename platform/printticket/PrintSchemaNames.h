#pragma once
// Namespaces of the Print Schema and qualified names resolved to (namespace URI, local name), so
// that tickets from producers that chose other prefixes compare equal.
#include <string>
#include <string_view>

namespace printschema {

inline constexpr char kFrameworkNs[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
inline constexpr char kKeywordsNs[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";
inline constexpr char kXsiNs[] = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr char kXsdNs[] = "http://www.w3.org/2001/XMLSchema";
// The namespace of printer description files (docs/printer-description.md).
inline constexpr char kPrinterDescriptionNs[] = "http://schemas.xpschain.org/printing/2026/printer-description";

// A qualified name resolved against the namespaces in scope where it was written. An empty
// local name stands for "no name" (an unnamed Option).
struct PsName {
    std::string ns;
    std::string local;

    bool Empty() const { return local.empty(); }
    bool Is(std::string_view uri, std::string_view name) const { return ns == uri && local == name; }
    friend bool operator==(const PsName&, const PsName&) = default;
    friend auto operator<=>(const PsName&, const PsName&) = default;
};

inline PsName Keyword(std::string_view local) { return {kKeywordsNs, std::string(local)}; }
inline PsName Framework(std::string_view local) { return {kFrameworkNs, std::string(local)}; }
inline PsName Xsd(std::string_view local) { return {kXsdNs, std::string(local)}; }

} // namespace printschema
