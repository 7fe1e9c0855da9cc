#pragma once
// Builds the XPath texts that find Print Schema elements by name in a ticket or capabilities
// document, with the document's own framework prefix in front of every element name.
#include <string>
#include <string_view>

#include "platform/com/Hresult.h"

class CXPathBuilder {
public:
    // frameworkPrefix carries its trailing colon ("psf:"); an empty one makes every step fail.
    explicit CXPathBuilder(std::string_view frameworkPrefix);

    // Each step appends to the path; E_FAIL without a framework prefix. Names are qualified with
    // prefix, which also carries its colon (it may be empty).
    HRESULT AddFeature(std::string_view prefix, std::string_view name);
    HRESULT AddProperty(std::string_view prefix, std::string_view name);
    HRESULT AddScoredProperty(std::string_view prefix, std::string_view name);
    HRESULT AddParameterInit(std::string_view prefix, std::string_view name);
    // The path so far becomes "its Option children, or the Value of its OptionName scored property".
    HRESULT AddOptionOrValue(std::string_view keywordPrefix);

    std::string GetPath() const { return path_; }

private:
    HRESULT AddNamed(std::string_view element, std::string_view prefix, std::string_view name);

    std::string path_;
    std::string frameworkPrefix_;
};
