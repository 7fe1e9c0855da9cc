#include "host/package/PackageWriter.h"

#include "host/package/XpsPackageWriter.h"

HRESULT CreateXpsPackageWriter(const std::string& path, ComPtr<IXpsDocumentConsumer>* writer, PackageError* error)
{
    if (!writer)
        return E_POINTER;
    writer->Reset();
    ComPtr<CXpsPackageWriter> made;
    made.Attach(new (std::nothrow) CXpsPackageWriter());
    if (!made)
        return E_OUTOFMEMORY;
    const HRESULT hr = made->Open(path, error);
    if (FAILED(hr))
        return hr;
    *writer = made.Get();
    return S_OK;
}
