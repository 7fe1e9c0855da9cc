#include "host/package/MemoryReadStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "framework/XDException.h"
#include "host/package/PartContent.h"
#include "platform/com/Stream.h"

HRESULT CMemoryReadStream::Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition)
{
    const std::int64_t base = origin == STREAM_SEEK_SET   ? 0
                              : origin == STREAM_SEEK_CUR ? static_cast<std::int64_t>(position_)
                              : origin == STREAM_SEEK_END ? static_cast<std::int64_t>(bytes_->size())
                                                          : -1;
    // Checked without forming the sum, which could overflow.
    if (base < 0 || distance < -base || (distance > 0 && base > std::numeric_limits<std::int64_t>::max() - distance))
        return E_INVALIDARG;
    position_ = static_cast<std::uint64_t>(base + distance);
    if (newPosition)
        *newPosition = position_;
    return S_OK;
}

HRESULT CMemoryReadStream::ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile)
{
    if (!buffer && size)
        return E_POINTER;
    const std::uint64_t left = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
    const ULONG n = static_cast<ULONG>(std::min<std::uint64_t>(left, size));
    if (n)
        std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += n;
    if (read)
        *read = n;
    if (endOfFile)
        *endOfFile = position_ >= bytes_->size();
    return S_OK;
}

HRESULT CMemoryContent::OpenStream(IPrintReadStream** stream) const
{
    if (!stream)
        return E_POINTER;
    return GuardResult([&] {
        *stream = new CMemoryReadStream(bytes_);
        return S_OK;
    });
}
