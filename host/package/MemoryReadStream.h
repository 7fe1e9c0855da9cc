#pragma once
// A read stream over bytes shared with the part that holds them.
#include <memory>
#include <string>

#include "framework/ComBase.h"
#include "platform/pipeline/PrintStreams.h"

class CMemoryReadStream final : public CComBase<IPrintReadStream> {
public:
    explicit CMemoryReadStream(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    HRESULT Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition) override;
    HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile) override;

private:
    std::shared_ptr<const std::string> bytes_;
    std::uint64_t position_ = 0;
};
