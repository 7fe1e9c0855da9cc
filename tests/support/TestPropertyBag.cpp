#include "tests/support/TestPropertyBag.h"

CTestPropertyBag::~CTestPropertyBag()
{
    for (auto& [name, value] : properties)
        VariantClear(value.get());
}

HRESULT CTestPropertyBag::AddProperty(const char* name, const VARIANT* value)
{
    if (!name || !value)
        return E_POINTER;
    auto copy = std::make_unique<VARIANT>();
    VariantInit(copy.get());
    const HRESULT hr = VariantCopy(copy.get(), value);
    if (FAILED(hr))
        return hr;
    std::lock_guard guard(lock);
    auto& slot = properties[name];
    if (slot)
        VariantClear(slot.get());
    slot = std::move(copy);
    return S_OK;
}

HRESULT CTestPropertyBag::GetProperty(const char* name, VARIANT* value)
{
    if (!name || !value)
        return E_POINTER;
    VariantInit(value);
    std::lock_guard guard(lock);
    const auto it = properties.find(name);
    return it == properties.end() ? ResultNotFound : VariantCopy(value, it->second.get());
}

BOOL CTestPropertyBag::DeleteProperty(const char* name)
{
    if (!name)
        return 0;
    std::lock_guard guard(lock);
    const auto it = properties.find(name);
    if (it == properties.end())
        return 0;
    VariantClear(it->second.get());
    properties.erase(it);
    return 1;
}

void CTestPropertyBag::SetString(const std::string& name, std::string_view utf8)
{
    CVariant value;
    value.vt = VT_BSTR;
    value.bstrVal = BstrFromUtf8(utf8);
    AddProperty(name.c_str(), &value);
}

void CTestPropertyBag::SetInteger(const std::string& name, std::int32_t number)
{
    CVariant value;
    value.vt = VT_I4;
    value.lVal = number;
    AddProperty(name.c_str(), &value);
}

void CTestPropertyBag::SetUnknown(const std::string& name, IUnknown* object)
{
    CVariant value;
    value.vt = VT_UNKNOWN;
    value.punkVal = object;
    if (object)
        object->AddRef();
    AddProperty(name.c_str(), &value);
}
