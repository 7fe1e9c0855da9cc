#include "framework/XPathBuilder.h"

#include <new>

CXPathBuilder::CXPathBuilder(std::string_view frameworkPrefix) : frameworkPrefix_(frameworkPrefix) {}

HRESULT CXPathBuilder::AddNamed(std::string_view element, std::string_view prefix, std::string_view name)
{
    if (frameworkPrefix_.empty())
        return E_FAIL;
    try {
        // //{psf}{element}[@name = "{prefix}{name}"]
        std::string step = "//" + frameworkPrefix_;
        step += element;
        step += "[@name = \"";
        step += prefix;
        step += name;
        step += "\"]";
        path_ += step;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CXPathBuilder::AddFeature(std::string_view prefix, std::string_view name)
{
    return AddNamed("Feature", prefix, name);
}

HRESULT CXPathBuilder::AddProperty(std::string_view prefix, std::string_view name)
{
    return AddNamed("Property", prefix, name);
}

HRESULT CXPathBuilder::AddScoredProperty(std::string_view prefix, std::string_view name)
{
    return AddNamed("ScoredProperty", prefix, name);
}

HRESULT CXPathBuilder::AddParameterInit(std::string_view prefix, std::string_view name)
{
    return AddNamed("ParameterInit", prefix, name);
}

HRESULT CXPathBuilder::AddOptionOrValue(std::string_view keywordPrefix)
{
    if (frameworkPrefix_.empty())
        return E_FAIL;
    try {
        // P/{psf}Option | P/{psf}ScoredProperty[@name = "{psk}OptionName"]/{psf}Value
        std::string path = path_ + "/" + frameworkPrefix_ + "Option | " + path_;
        path += "/" + frameworkPrefix_ + "ScoredProperty[@name = \"";
        path += keywordPrefix;
        path += "OptionName\"]/" + frameworkPrefix_ + "Value";
        path_ = std::move(path);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
