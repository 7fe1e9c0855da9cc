#include "host/package/FixedPagePart.h"

#include <algorithm>

#include "framework/HeldPart.h"
#include "host/package/PartName.h"
#include "host/package/PartWriteStream.h"

HRESULT CFixedPagePart::GetPrintTicket(IPartPrintTicket** ticket) { return CopyHeldPart(ticket_, ticket); }

HRESULT CFixedPagePart::SetPrintTicket(IPartPrintTicket* ticket)
{
    ticket_ = ticket;
    return S_OK;
}

PageResourceList::iterator CFixedPagePart::FindResource(const char* uri)
{
    const std::string key = part_name::Key(uri);
    return std::find_if(resources_.begin(), resources_.end(),
                        [&](const auto& entry) { return part_name::Key(entry.first) == key; });
}

HRESULT CFixedPagePart::GetPagePart(const char* uri, IUnknown** part)
{
    if (!uri || !part)
        return E_POINTER;
    *part = nullptr;
    return GuardResult([&] {
        const auto found = FindResource(uri);
        return found == resources_.end() ? ResultNotFound : found->second.CopyTo(part);
    });
}

HRESULT CFixedPagePart::GetWriteStream(IPrintWriteStream** stream)
{
    if (!stream)
        return E_POINTER;
    return GuardResult([&] {
        *stream = new CPartWriteStream(static_cast<IFixedPage*>(this), this);
        return S_OK;
    });
}

HRESULT CFixedPagePart::SetPagePart(IUnknown* part)
{
    if (!part)
        return E_POINTER;
    return GuardResult([&] {
        ComPtr<IPartBase> base;
        if (FAILED(QueryTo(part, &base)))
            return E_INVALIDARG;
        std::string uri;
        ThrowIfFailed(base->GetUri(&uri));
        ComPtr<IUnknown> identity;
        ThrowIfFailed(QueryTo(part, &identity));
        const auto found = FindResource(uri.c_str());
        if (found != resources_.end())
            found->second = identity;
        else
            resources_.emplace_back(std::move(uri), identity);
        return S_OK;
    });
}

HRESULT CFixedPagePart::DeleteResource(const char* uri)
{
    if (!uri)
        return E_POINTER;
    return GuardResult([&] {
        const auto found = FindResource(uri);
        if (found == resources_.end())
            return ResultNotFound;
        resources_.erase(found);
        return S_OK;
    });
}

HRESULT CFixedPagePart::GetXpsPartIterator(IXpsPartIterator** iterator)
{
    if (!iterator)
        return E_POINTER;
    return GuardResult([&] {
        *iterator = new CPartIterator(resources_);
        return S_OK;
    });
}
