#include "host/package/PartWriteStream.h"

#include "framework/XDException.h"

namespace {
constexpr HRESULT kIllegalMethodCall = MakeHresult(0x8000000E);
}

HRESULT CPartWriteStream::WriteBytes(const void* buffer, ULONG size, ULONG* written)
{
    if (written)
        *written = 0;
    if (!buffer && size)
        return E_POINTER;
    if (!receiver_)
        return kIllegalMethodCall;
    return GuardResult([&] {
        bytes_.append(static_cast<const char*>(buffer), size);
        if (written)
            *written = size;
        return S_OK;
    });
}

void CPartWriteStream::Close()
{
    if (!receiver_)
        return;
    try {
        receiver_->ReceiveContent(std::make_shared<CMemoryContent>(std::move(bytes_)));
    } catch (const std::bad_alloc&) {
        // The part stays without content; readers see ResultNotAvailable and the writer names it.
    }
    receiver_ = nullptr;
    owner_.Reset();
}
