#include <algorithm>

#include "platform/com/ComPtr.h"
#include "platform/com/Stream.h"

HRESULT CreateStreamOnText(std::string_view text, IStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    ComPtr<IStream> memory;
    HRESULT hr = CreateStreamOnHGlobal(memory.Put());
    // Written in pieces: a ULONG count caps a single write.
    while (SUCCEEDED(hr) && !text.empty()) {
        const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(text.size(), 1u << 30));
        hr = memory->Write(text.data(), piece, nullptr);
        text.remove_prefix(piece);
    }
    if (SUCCEEDED(hr))
        hr = memory->Seek(0, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(hr))
        *stream = memory.Detach();
    return hr;
}

HRESULT ReadStreamToEnd(IStream* stream, std::string* text, std::size_t limit)
{
    if (!stream || !text)
        return E_POINTER;
    text->clear();
    char buffer[65536];
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = stream->Read(buffer, sizeof buffer, &read);
        if (FAILED(hr))
            return hr;
        if (read == 0)
            return S_OK;
        if (read > limit - text->size()) {
            text->clear();
            return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
        }
        text->append(buffer, read);
    }
}
