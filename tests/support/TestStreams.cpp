#include "tests/support/TestStreams.h"

#include <algorithm>
#include <cstring>

#include "platform/com/Stream.h"
#include "tests/support/TestObject.h"

ComPtr<IPrintReadStream> CTestReadStream::Make(std::string content)
{
    return ComPtr<IPrintReadStream>(MakeTestObject<CTestReadStream>(std::move(content)).Get());
}

HRESULT CTestReadStream::Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition)
{
    std::int64_t base = 0;
    switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = static_cast<std::int64_t>(position); break;
    case STREAM_SEEK_END: base = static_cast<std::int64_t>(data.size()); break;
    default: return E_INVALIDARG;
    }
    if (base + distance < 0)
        return E_INVALIDARG;
    position = static_cast<std::size_t>(base + distance);
    if (newPosition)
        *newPosition = position;
    return S_OK;
}

HRESULT CTestReadStream::ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile)
{
    if (!buffer || !read || !endOfFile)
        return E_POINTER;
    const std::size_t left = position < data.size() ? data.size() - position : 0;
    const std::size_t n = std::min<std::size_t>(left, size);
    if (failAt != std::string::npos && position + n >= failAt && n > 0)
        return failure;
    std::memcpy(buffer, data.data() + position, n);
    position += n;
    *read = static_cast<ULONG>(n);
    *endOfFile = position >= data.size();
    return S_OK;
}

HRESULT CTestWriteStream::WriteBytes(const void* buffer, ULONG size, ULONG* written)
{
    if (!buffer || !written)
        return E_POINTER;
    *written = 0;
    if (content->closed)
        return E_FAIL;
    if (failAfter != std::string::npos && content->bytes.size() + size > failAfter)
        return failure;
    content->bytes.append(static_cast<const char*>(buffer), size);
    *written = size;
    return S_OK;
}

void CTestWriteStream::Close()
{
    content->closed = true;
    ++content->closeCount;
}

HRESULT CTestReadStreamFactory::GetStream(IPrintReadStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = CTestReadStream::Make(data).Detach();
    return S_OK;
}
