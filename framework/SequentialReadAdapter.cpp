#include "framework/SequentialReadAdapter.h"

#include <new>

CSequentialReadAdapter::CSequentialReadAdapter(IPrintReadStream* sourceStream) : source(sourceStream)
{
    source->AddRef();
}

CSequentialReadAdapter::~CSequentialReadAdapter() { source->Release(); }

HRESULT CSequentialReadAdapter::Create(IPrintReadStream* source, ISequentialStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    if (!source)
        return E_POINTER;
    *stream = new (std::nothrow) CSequentialReadAdapter(source);
    return *stream ? S_OK : E_OUTOFMEMORY;
}

HRESULT CSequentialReadAdapter::Read(void* buffer, ULONG size, ULONG* read) { return ReadFrom(source, buffer, size, read); }

HRESULT CSequentialReadAdapter::ReadFrom(IPrintReadStream* source, void* buffer, ULONG size, ULONG* read)
{
    if (!buffer || !read)
        return E_POINTER;
    *read = 0;
    if (size == 0)
        return S_OK;
    BOOL endOfFile = 0;
    return source->ReadBytes(buffer, size, read, &endOfFile);
}

HRESULT CSequentialReadAdapter::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }
