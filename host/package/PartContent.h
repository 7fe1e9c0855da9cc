#pragma once
// Where the bytes of a part come from: an entry of the package read, or memory a filter wrote.
#include <memory>
#include <string>

#include "platform/pipeline/PrintStreams.h"

class CPartContent {
public:
    virtual ~CPartContent() = default;
    // A new reader at the start of the content.
    virtual HRESULT OpenStream(IPrintReadStream** stream) const = 0;
};

// Content held in memory, shared by every reader; immutable once made.
class CMemoryContent final : public CPartContent {
public:
    explicit CMemoryContent(std::string bytes) : bytes_(std::make_shared<const std::string>(std::move(bytes))) {}
    HRESULT OpenStream(IPrintReadStream** stream) const override;

private:
    std::shared_ptr<const std::string> bytes_;
};

// Something a write stream fills: the part it was made for.
class IContentReceiver {
public:
    // Called once, when the write stream closes.
    virtual void ReceiveContent(std::shared_ptr<const CPartContent> content) = 0;

protected:
    ~IContentReceiver() = default;
};
