#include "framework/ReadStreamAdapter.h"

#include <new>

#include "framework/SequentialReadAdapter.h"

namespace {
// STGM_SHARE_DENY_WRITE: others may read while the pipeline holds the part.
constexpr std::uint32_t kAccessMode = 0x20;
// LOCK_WRITE: the lock type a reader of a part names.
constexpr std::uint32_t kLockTypes = 1;
}

CReadStreamAdapter::CReadStreamAdapter(IPrintReadStream* sourceStream)
    : source(sourceStream), madeTime(CoFileTimeNow()), accessTime(madeTime)
{
    source->AddRef();
}

CReadStreamAdapter::~CReadStreamAdapter() { source->Release(); }

HRESULT CReadStreamAdapter::Create(IPrintReadStream* source, IStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    if (!source)
        return E_POINTER;
    *stream = new (std::nothrow) CReadStreamAdapter(source);
    return *stream ? S_OK : E_OUTOFMEMORY;
}

HRESULT CReadStreamAdapter::Read(void* buffer, ULONG bytes, ULONG* read)
{
    const HRESULT hr = CSequentialReadAdapter::ReadFrom(source, buffer, bytes, read);
    // Only a read that reached the source counts as an access.
    if (buffer && read && bytes != 0)
        accessTime = CoFileTimeNow();
    return hr;
}

HRESULT CReadStreamAdapter::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }

HRESULT CReadStreamAdapter::Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* newPosition)
{
    return source->Seek(move, origin, newPosition);
}

HRESULT CReadStreamAdapter::SetSize(std::uint64_t) { return E_NOTIMPL; }
HRESULT CReadStreamAdapter::CopyTo(IStream*, std::uint64_t, std::uint64_t*, std::uint64_t*) { return E_NOTIMPL; }
HRESULT CReadStreamAdapter::Commit(std::uint32_t) { return E_NOTIMPL; }
HRESULT CReadStreamAdapter::Revert() { return E_NOTIMPL; }
HRESULT CReadStreamAdapter::LockRegion(std::uint64_t, std::uint64_t, std::uint32_t) { return E_NOTIMPL; }
HRESULT CReadStreamAdapter::UnlockRegion(std::uint64_t, std::uint64_t, std::uint32_t) { return E_NOTIMPL; }
HRESULT CReadStreamAdapter::Clone(IStream**) { return E_NOTIMPL; }

HRESULT CReadStreamAdapter::FindSize()
{
    if (sizeKnown)
        return S_OK;
    std::uint64_t position = 0;
    HRESULT hr = source->Seek(0, STREAM_SEEK_CUR, &position);
    if (SUCCEEDED(hr))
        hr = source->Seek(0, STREAM_SEEK_END, &size);
    if (SUCCEEDED(hr))
        hr = source->Seek(static_cast<std::int64_t>(position), STREAM_SEEK_SET, nullptr);
    sizeKnown = SUCCEEDED(hr);
    return hr;
}

HRESULT CReadStreamAdapter::Stat(STATSTG* stat, std::uint32_t flags)
{
    if (!stat)
        return E_POINTER;
    *stat = STATSTG{};
    const HRESULT hr = FindSize();
    if (FAILED(hr))
        return hr;
    if (!(flags & STATFLAG_NONAME)) {
        stat->pwcsName = SysAllocString(u"PrintReadStream");
        if (!stat->pwcsName)
            return E_OUTOFMEMORY;
    }
    stat->type = STGTY_STREAM;
    stat->cbSize = size;
    stat->mtime = madeTime;
    stat->ctime = madeTime;
    stat->atime = accessTime;
    stat->grfMode = kAccessMode;
    stat->grfLocksSupported = kLockTypes;
    return S_OK;
}
