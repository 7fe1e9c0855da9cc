#pragma once
// A stream over fixed bytes that hands out at most a few bytes per Read and can fail after a
// number of bytes: chunk boundaries and read failures for the XML readers.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/com/Stream.h"

class CTestStream final : public ISequentialStream {
public:
    explicit CTestStream(std::string bytes, ULONG bytesPerRead = 0xFFFFFFFFu, std::size_t failAfter = std::string::npos,
                         HRESULT failure = E_ACCESSDENIED)
        : bytes_(std::move(bytes)), bytesPerRead_(bytesPerRead), failAfter_(failAfter), failure_(failure)
    {
    }

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IUnknown::kIid || iid == ISequentialStream::kIid) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT Read(void* buffer, ULONG size, ULONG* read) override
    {
        if (position_ >= failAfter_)
            return failure_;
        const std::size_t n = std::min<std::size_t>({size, bytesPerRead_, bytes_.size() - position_});
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        ++reads_;
        *read = static_cast<ULONG>(n);
        return S_OK;
    }
    HRESULT Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }

    int Reads() const { return reads_; }

private:
    std::string bytes_;
    ULONG bytesPerRead_;
    std::size_t failAfter_;
    HRESULT failure_;
    std::size_t position_ = 0;
    int reads_ = 0;
};

// The bytes of text (ASCII in these tests) as UTF-16 with a byte order mark.
inline std::string Utf16Bytes(const std::string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? std::string("\xFE\xFF", 2) : std::string("\xFF\xFE", 2);
    for (char c : text) {
        if (bigEndian) {
            bytes += '\0';
            bytes += c;
        } else {
            bytes += c;
            bytes += '\0';
        }
    }
    return bytes;
}
