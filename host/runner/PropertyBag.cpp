#include "host/runner/PropertyBag.h"


ComPtr<CPropertyBag> CPropertyBag::Create()
{
    ComPtr<CPropertyBag> bag;
    bag.Attach(new CPropertyBag());
    return bag;
}

CPropertyBag::~CPropertyBag() = default;

HRESULT CPropertyBag::AddProperty(const char* name, const VARIANT* value)
{
    if (!name || !value)
        return E_POINTER;
    auto copy = std::make_unique<CVariant>();
    const HRESULT hr = VariantCopy(copy.get(), value);
    if (FAILED(hr))
        return hr;
    std::unique_ptr<CVariant> replaced;
    {
        std::lock_guard guard(lock_);
        std::unique_ptr<CVariant>& slot = values_[name];
        replaced = std::move(slot);
        slot = std::move(copy);
    }
    return S_OK;
}

HRESULT CPropertyBag::GetProperty(const char* name, VARIANT* value)
{
    if (!name || !value)
        return E_POINTER;
    std::lock_guard guard(lock_);
    const auto it = values_.find(name);
    if (it == values_.end())
        return ResultNotFound;
    return VariantCopy(value, it->second.get());
}

BOOL CPropertyBag::DeleteProperty(const char* name)
{
    if (!name)
        return 0;
    std::unique_ptr<CVariant> removed;
    std::lock_guard guard(lock_);
    const auto it = values_.find(name);
    if (it == values_.end())
        return 0;
    removed = std::move(it->second);
    values_.erase(it);
    return 1;
}
