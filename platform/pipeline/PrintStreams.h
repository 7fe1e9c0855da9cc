#pragma once
// The byte streams of the pipeline: part contents, new parts and the device data.
#include <cstdint>

#include "platform/com/Unknown.h"

struct IPrintReadStream : IUnknown {
    static constexpr IID kIid = GuidLiteral("{773CA66C-2D52-45F0-B920-BD8FDC44BF86}");
    // origin is STREAM_SEEK_SET, _CUR or _END (platform/com/Stream.h).
    virtual HRESULT Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition) = 0;
    // Reads up to size bytes; *endOfFile becomes TRUE once the stream has nothing more.
    virtual HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile) = 0;

protected:
    ~IPrintReadStream() = default;
};

struct IPrintWriteStream : IUnknown {
    static constexpr IID kIid = GuidLiteral("{3A0EF157-9A9B-4CDF-BD90-EDC39B58663E}");
    virtual HRESULT WriteBytes(const void* buffer, ULONG size, ULONG* written) = 0;
    // Ends the content; the part is complete once closed.
    virtual void Close() = 0;

protected:
    ~IPrintWriteStream() = default;
};

struct IPrintReadStreamFactory : IUnknown {
    static constexpr IID kIid = GuidLiteral("{62557CD9-006E-4401-B014-E511E66AF294}");
    virtual HRESULT GetStream(IPrintReadStream** stream) = 0;

protected:
    ~IPrintReadStreamFactory() = default;
};
