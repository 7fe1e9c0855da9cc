#pragma once
// The writer of a chain that ends in device data: the bytes go straight into the output file.
// A failed write is remembered, because the filter that writes here does not report one.
#include <string>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/PrintStreams.h"

class CDeviceWriteStream final : public CComBase<IPrintWriteStream> {
public:
    // fd stays owned by the caller and must outlive the stream's use.
    static ComPtr<CDeviceWriteStream> Create(int fd);

    // Writes everything or fails with the system error; nothing is accepted after Close.
    HRESULT WriteBytes(const void* buffer, ULONG size, ULONG* written) override;
    void Close() override;

    bool Closed() const { return closed_; }
    // The first write failure as a one-line reason; empty when every write went through.
    std::string Failure() const { return failure_; }
    std::uint64_t BytesWritten() const { return bytesWritten_; }

private:
    explicit CDeviceWriteStream(int fd) : fd_(fd) {}

    const int fd_;
    bool closed_ = false;
    std::string failure_;
    std::uint64_t bytesWritten_ = 0;
};
