#pragma once
// IStream over a pipeline read stream, so that the XML loader and the PrintTicket provider can read
// a part's content. Read-only: writing, locking, cloning and committing are not available.
#include "framework/ComBase.h"
#include "platform/com/Stream.h"
#include "platform/pipeline/PrintStreams.h"

class CReadStreamAdapter final : public CComBase<IStream> {
public:
    // Made with a count of 1 and its own reference on source, which must not be null.
    explicit CReadStreamAdapter(IPrintReadStream* source);
    // The same for callers that want an HRESULT: the caller owns *stream; null source or null
    // stream gives E_POINTER.
    static HRESULT Create(IPrintReadStream* source, IStream** stream);

    // Null buffer or null count: E_POINTER; zero bytes asked reads nothing.
    HRESULT Read(void* buffer, ULONG size, ULONG* read) override;
    HRESULT Write(const void* buffer, ULONG size, ULONG* written) override;
    HRESULT Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* newPosition) override;
    HRESULT SetSize(std::uint64_t size) override;
    HRESULT CopyTo(IStream* target, std::uint64_t size, std::uint64_t* read, std::uint64_t* written) override;
    HRESULT Commit(std::uint32_t flags) override;
    HRESULT Revert() override;
    HRESULT LockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) override;
    HRESULT UnlockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) override;
    // The size is found once, by seeking to the end and back, then kept. stat->pwcsName is the
    // caller's to free; none with STATFLAG_NONAME.
    HRESULT Stat(STATSTG* stat, std::uint32_t flags) override;
    HRESULT Clone(IStream** clone) override;

private:
    ~CReadStreamAdapter() override;
    HRESULT FindSize();

    IPrintReadStream* source;
    FILETIME madeTime;
    FILETIME accessTime;
    bool sizeKnown = false;
    std::uint64_t size = 0;
};
