#pragma once
// Byte streams of the COM platform, used where tickets pass between the ticket store, the XML
// documents and the PrintTicket provider.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/Bstr.h"
#include "platform/com/Unknown.h"

struct FILETIME {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;
};

inline constexpr std::uint32_t STREAM_SEEK_SET = 0;
inline constexpr std::uint32_t STREAM_SEEK_CUR = 1;
inline constexpr std::uint32_t STREAM_SEEK_END = 2;
inline constexpr std::uint32_t STATFLAG_DEFAULT = 0;
inline constexpr std::uint32_t STATFLAG_NONAME = 1;
inline constexpr std::uint32_t STGTY_STREAM = 2;

struct STATSTG {
    BSTR pwcsName = nullptr;  // freed by the caller
    std::uint32_t type = 0;
    std::uint64_t cbSize = 0;
    FILETIME mtime, ctime, atime;
    std::uint32_t grfMode = 0;
    std::uint32_t grfLocksSupported = 0;
    CLSID clsid;
    std::uint32_t grfStateBits = 0;
};

struct ISequentialStream : IUnknown {
    static constexpr IID kIid = GuidLiteral("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}");
    // Reads up to size bytes; fewer (or none) at the end of the stream is success.
    virtual HRESULT Read(void* buffer, ULONG size, ULONG* read) = 0;
    virtual HRESULT Write(const void* buffer, ULONG size, ULONG* written) = 0;

protected:
    ~ISequentialStream() = default;
};

struct IStream : ISequentialStream {
    static constexpr IID kIid = GuidLiteral("{0000000C-0000-0000-C000-000000000046}");
    virtual HRESULT Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* newPosition) = 0;
    virtual HRESULT SetSize(std::uint64_t size) = 0;
    virtual HRESULT CopyTo(IStream* target, std::uint64_t size, std::uint64_t* read, std::uint64_t* written) = 0;
    virtual HRESULT Commit(std::uint32_t flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) = 0;
    virtual HRESULT UnlockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) = 0;
    virtual HRESULT Stat(STATSTG* stat, std::uint32_t flags) = 0;
    virtual HRESULT Clone(IStream** clone) = 0;

protected:
    ~IStream() = default;
};

// A growable stream in memory, freed when its last reference goes; position starts at 0.
HRESULT CreateStreamOnHGlobal(IStream** stream);
// A new memory stream holding text, positioned at its start.
HRESULT CreateStreamOnText(std::string_view text, IStream** stream);
// The stream's bytes from its current position to its end. More than limit bytes gives
// HRESULT_FROM_WIN32(ERROR_INVALID_DATA) with what was read so far dropped.
HRESULT ReadStreamToEnd(IStream* stream, std::string* text, std::size_t limit = SIZE_MAX);
// The current time as a FILETIME (100 ns since 1601).
FILETIME CoFileTimeNow();
