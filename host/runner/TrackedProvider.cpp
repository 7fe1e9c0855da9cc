#include "host/runner/TrackedProvider.h"

ComPtr<CTrackedProvider> CTrackedProvider::Create(IXpsDocumentProvider* source)
{
    ComPtr<CTrackedProvider> provider;
    provider.Attach(new CTrackedProvider(source));
    return provider;
}

HRESULT CTrackedProvider::GetXpsPart(IUnknown** part)
{
    const HRESULT hr = source_->GetXpsPart(part);
    if (FAILED(hr) || !part)
        return hr;
    if (!*part) {
        std::lock_guard guard(lock_);
        progress_.reachedEnd = true;
        return hr;
    }
    std::string name = PartName(*part);
    ComPtr<IFixedPage> page;
    const bool isPage = SUCCEEDED(QueryTo(*part, &page));
    std::lock_guard guard(lock_);
    progress_.lastPart = std::move(name);
    if (isPage)
        ++progress_.pages;
    return hr;
}

InputProgress CTrackedProvider::Progress()
{
    std::lock_guard guard(lock_);
    return progress_;
}

namespace {
template <class Part>
bool NameOf(IUnknown* part, std::string* name)
{
    ComPtr<Part> typed;
    return SUCCEEDED(QueryTo(part, &typed)) && SUCCEEDED(typed->GetUri(name));
}
} // namespace

std::string PartName(IUnknown* part)
{
    std::string name;
    if (NameOf<IPartBase>(part, &name) || NameOf<IFixedDocument>(part, &name) ||
        NameOf<IFixedDocumentSequence>(part, &name))
        return name;
    return {};
}
