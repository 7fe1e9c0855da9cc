#include "platform/printticket/TicketStreams.h"

#include <algorithm>

namespace printschema {

namespace {
constexpr std::size_t kMaxTicketSize = 16u << 20;
}

HRESULT ReadStreamText(IStream* stream, std::string* text, std::string* error)
{
    const HRESULT hr = ReadStreamToEnd(stream, text, kMaxTicketSize);
    if (hr == HRESULT_FROM_WIN32(ERROR_INVALID_DATA))
        *error = "the document is larger than 16 MiB";
    else if (FAILED(hr))
        *error = "the stream could not be read: " + FormatHresult(hr);
    return hr;
}

HRESULT WriteStreamText(IStream* stream, std::string_view text)
{
    while (!text.empty()) {
        const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(text.size(), 1u << 20));
        ULONG written = 0;
        const HRESULT hr = stream->Write(text.data(), chunk, &written);
        if (FAILED(hr))
            return hr;
        if (written == 0)
            return E_FAIL;
        text.remove_prefix(written);
    }
    return S_OK;
}

} // namespace printschema
