#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "platform/com/Stream.h"

namespace {

class MemoryStream final : public IStream {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IUnknown::kIid || iid == ISequentialStream::kIid || iid == IStream::kIid) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override
    {
        const ULONG n = --refs_;
        if (n == 0)
            delete this;
        return n;
    }

    HRESULT Read(void* buffer, ULONG size, ULONG* read) override
    {
        if (!buffer && size)
            return E_POINTER;
        const std::uint64_t left = position_ < data_.size() ? data_.size() - position_ : 0;
        const ULONG n = static_cast<ULONG>(std::min<std::uint64_t>(left, size));
        if (n)
            std::memcpy(buffer, data_.data() + position_, n);
        position_ += n;
        if (read)
            *read = n;
        return S_OK;
    }
    HRESULT Write(const void* buffer, ULONG size, ULONG* written) override
    {
        if (!buffer && size)
            return E_POINTER;
        try {
            if (position_ + size > data_.size())
                data_.resize(position_ + size);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        if (size)
            std::memcpy(data_.data() + position_, buffer, size);
        position_ += size;
        if (written)
            *written = size;
        return S_OK;
    }
    HRESULT Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* newPosition) override
    {
        std::int64_t base = 0;
        switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = static_cast<std::int64_t>(position_); break;
        case STREAM_SEEK_END: base = static_cast<std::int64_t>(data_.size()); break;
        default: return E_INVALIDARG;
        }
        if (move < -base || (move > 0 && move > std::numeric_limits<std::int64_t>::max() - base))
            return E_INVALIDARG;
        position_ = static_cast<std::uint64_t>(base + move);
        if (newPosition)
            *newPosition = position_;
        return S_OK;
    }
    HRESULT SetSize(std::uint64_t size) override
    {
        try {
            data_.resize(size);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    HRESULT CopyTo(IStream* target, std::uint64_t size, std::uint64_t* read, std::uint64_t* written) override
    {
        if (!target)
            return E_POINTER;
        const std::uint64_t left = position_ < data_.size() ? data_.size() - position_ : 0;
        // One write takes a 32-bit count: a larger copy stops there rather than skip what it cannot write.
        const std::uint64_t n = std::min({left, size, std::uint64_t{std::numeric_limits<ULONG>::max()}});
        ULONG done = 0;
        const HRESULT hr = target->Write(data_.data() + position_, static_cast<ULONG>(n), &done);
        position_ += n;
        if (read)
            *read = n;
        if (written)
            *written = done;
        return hr;
    }
    HRESULT Commit(std::uint32_t) override { return S_OK; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(std::uint64_t, std::uint64_t, std::uint32_t) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(std::uint64_t, std::uint64_t, std::uint32_t) override { return E_NOTIMPL; }
    HRESULT Stat(STATSTG* stat, std::uint32_t) override
    {
        if (!stat)
            return E_POINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize = data_.size();
        return S_OK;
    }
    HRESULT Clone(IStream**) override { return E_NOTIMPL; }

private:
    ~MemoryStream() = default;
    std::atomic<ULONG> refs_{1};
    std::vector<unsigned char> data_;
    std::uint64_t position_ = 0;
};

} // namespace

HRESULT CreateStreamOnHGlobal(IStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = new (std::nothrow) MemoryStream;
    return *stream ? S_OK : E_OUTOFMEMORY;
}

FILETIME CoFileTimeNow()
{
    // 100 ns intervals between 1601-01-01 and 1970-01-01.
    constexpr std::uint64_t epochOffset = 116444736000000000ull;
    const auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::system_clock::now().time_since_epoch()).count();
    const std::uint64_t ticks = epochOffset + static_cast<std::uint64_t>(since1970) / 100;
    return FILETIME{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}
