#pragma once
// The stream that fills a new part or replaces a page's markup: bytes collect in memory and become
// the part's content when the stream closes.
#include <string>

#include "framework/ComBase.h"
#include "host/package/PartContent.h"
#include "platform/com/ComPtr.h"

class CPartWriteStream final : public CComBase<IPrintWriteStream> {
public:
    // owner keeps the receiving part alive until the stream closes or goes.
    CPartWriteStream(IUnknown* owner, IContentReceiver* receiver) : owner_(owner), receiver_(receiver) {}
    // Fails with E_ILLEGAL_METHOD_CALL once closed.
    HRESULT WriteBytes(const void* buffer, ULONG size, ULONG* written) override;
    // Hands the bytes to the part; later calls do nothing.
    void Close() override;

private:
    ComPtr<IUnknown> owner_;
    IContentReceiver* receiver_;
    std::string bytes_;
};
