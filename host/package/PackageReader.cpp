#include "host/package/PackageReader.h"

#include "host/package/PackageProvider.h"

HRESULT OpenXpsPackage(const std::string& path, ComPtr<IXpsDocumentProvider>* provider, PackageError* error)
{
    if (!provider)
        return E_POINTER;
    provider->Reset();
    std::shared_ptr<CPackageArchive> archive;
    const HRESULT opened = CPackageArchive::Open(path, &archive, error);
    if (FAILED(opened))
        return opened;
    ComPtr<CPackageProvider> made;
    made.Attach(new (std::nothrow) CPackageProvider(archive));
    if (!made)
        return E_OUTOFMEMORY;
    const HRESULT started = made->Start(error);
    if (FAILED(started))
        return started;
    *provider = made.Get();
    return S_OK;
}
