#pragma once
// Parts and streams in memory for the markup tests, with failures that can be injected.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsParts.h"

namespace markup_test {

// A write sink gathering what it receives; write number failAt (counted from 1) and every later
// one fail with failure.
class CMemorySink final : public CComBase<IPrintWriteStream> {
public:
    HRESULT WriteBytes(const void* buffer, ULONG size, ULONG* written) override
    {
        ++writes;
        if (failAt != 0 && writes >= failAt)
            return failure;
        bytes.append(static_cast<const char*>(buffer), size);
        writeSizes.push_back(size);
        *written = size;
        return S_OK;
    }
    void Close() override {}

    std::string bytes;
    std::vector<std::size_t> writeSizes;
    int writes = 0;
    int failAt = 0;
    HRESULT failure = E_FAIL;
};

// A reader over bytes; once failAfter bytes are read, reads fail with failure.
class CMemoryReadStream final : public CComBase<IPrintReadStream> {
public:
    CMemoryReadStream(std::string content, std::size_t failAfter, HRESULT failure)
        : content_(std::move(content)), failAfter_(failAfter), failure_(failure) {}

    HRESULT Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition) override
    {
        const std::int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<std::int64_t>(position_)
                                                                : static_cast<std::int64_t>(content_.size());
        if (base + distance < 0)
            return E_INVALIDARG;
        position_ = static_cast<std::size_t>(base + distance);
        if (newPosition)
            *newPosition = position_;
        return S_OK;
    }
    HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile) override
    {
        if (position_ >= failAfter_)
            return failure_;
        const std::size_t left = position_ < content_.size() ? content_.size() - position_ : 0;
        const std::size_t n = std::min({left, static_cast<std::size_t>(size), failAfter_ - position_});
        std::memcpy(buffer, content_.data() + position_, n);
        position_ += n;
        *read = static_cast<ULONG>(n);
        if (endOfFile)
            *endOfFile = position_ >= content_.size();
        return S_OK;
    }

private:
    std::string content_;
    std::size_t position_ = 0;
    std::size_t failAfter_;
    HRESULT failure_;
};

// A part holding content; its readers fail after failAfter bytes.
class CMemoryPart final : public CComBase<IPartBase> {
public:
    explicit CMemoryPart(std::string content, std::string uri = "/Documents/1/Pages/1.fpage",
                         std::size_t failAfter = std::string::npos, HRESULT failure = E_FAIL)
        : content_(std::move(content)), uri_(std::move(uri)), failAfter_(failAfter), failure_(failure) {}

    HRESULT GetUri(std::string* uri) override
    {
        *uri = uri_;
        return S_OK;
    }
    HRESULT GetStream(IPrintReadStream** stream) override
    {
        *stream = new CMemoryReadStream(content_, failAfter_, failure_);
        return S_OK;
    }
    HRESULT GetPartCompression(EXpsCompressionOptions* compression) override
    {
        *compression = Compression_Normal;
        return S_OK;
    }
    HRESULT SetPartCompression(EXpsCompressionOptions) override { return S_OK; }

private:
    std::string content_;
    std::string uri_;
    std::size_t failAfter_;
    HRESULT failure_;
};

// Made with count 1; the ComPtr takes that reference over.
template <class T, class... Args>
ComPtr<T> Make(Args&&... args)
{
    ComPtr<T> object;
    object.Attach(new T(std::forward<Args>(args)...));
    return object;
}

}  // namespace markup_test
