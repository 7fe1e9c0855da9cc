#include "host/package/PartIterator.h"

#include "framework/XDException.h"

HRESULT CPartIterator::Current(std::string* uri, IUnknown** part)
{
    if (!uri || !part)
        return E_POINTER;
    *part = nullptr;
    if (IsDone())
        return E_FAIL;
    return GuardResult([&] {
        *uri = resources_[index_].first;
        return resources_[index_].second.CopyTo(part);
    });
}
