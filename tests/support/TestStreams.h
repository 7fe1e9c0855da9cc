#pragma once
// In-memory pipeline streams for tests, with failures that a test can inject.
#include <memory>
#include <string>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/PrintStreams.h"

// Reads a copy of a text. failAt (when set) makes the read that reaches that offset fail with failure.
class CTestReadStream final : public CComBase<IPrintReadStream> {
public:
    explicit CTestReadStream(std::string content) : data(std::move(content)) {}
    static ComPtr<IPrintReadStream> Make(std::string content);

    HRESULT Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition) override;
    HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile) override;

    std::size_t failAt = std::string::npos;
    HRESULT failure = E_FAIL;

private:
    std::string data;
    std::size_t position = 0;
};

// What a write stream wrote, shared with the part it fills; closed once Close was called.
struct TestContent {
    std::string bytes;
    bool closed = false;
    int closeCount = 0;
};

// Appends to a shared content. failAfter (when set) makes writes fail once that many bytes are in.
class CTestWriteStream final : public CComBase<IPrintWriteStream> {
public:
    explicit CTestWriteStream(std::shared_ptr<TestContent> target) : content(std::move(target)) {}

    HRESULT WriteBytes(const void* buffer, ULONG size, ULONG* written) override;
    void Close() override;

    std::size_t failAfter = std::string::npos;
    HRESULT failure = E_FAIL;

private:
    std::shared_ptr<TestContent> content;
};

// Gives a new reader of a text for every GetStream: the "PerUserPrintTicket" property.
class CTestReadStreamFactory final : public CComBase<IPrintReadStreamFactory> {
public:
    explicit CTestReadStreamFactory(std::string content) : data(std::move(content)) {}
    HRESULT GetStream(IPrintReadStream** stream) override;

private:
    std::string data;
};
