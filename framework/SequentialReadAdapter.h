#pragma once
// ISequentialStream over a pipeline read stream: the XML loader reads a part ticket through it.
#include "framework/ComBase.h"
#include "platform/com/Stream.h"
#include "platform/pipeline/PrintStreams.h"

class CSequentialReadAdapter final : public CComBase<ISequentialStream> {
public:
    // Made with a count of 1 and its own reference on source, which must not be null.
    explicit CSequentialReadAdapter(IPrintReadStream* source);
    // The same for callers that want an HRESULT: the caller owns *stream; null source or null
    // stream gives E_POINTER.
    static HRESULT Create(IPrintReadStream* source, ISequentialStream** stream);

    // Null buffer or null count: E_POINTER; zero bytes asked reads nothing.
    HRESULT Read(void* buffer, ULONG size, ULONG* read) override;
    // Read-only: E_NOTIMPL.
    HRESULT Write(const void* buffer, ULONG size, ULONG* written) override;

    // Read as both adapters do it: source's bytes up to its end, with the same null checks; the
    // end of the stream shows as fewer bytes, finally none.
    static HRESULT ReadFrom(IPrintReadStream* source, void* buffer, ULONG size, ULONG* read);

private:
    ~CSequentialReadAdapter() override;

    IPrintReadStream* source;
};
