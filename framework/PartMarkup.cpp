#include "framework/PartMarkup.h"

#include "framework/SequentialReadAdapter.h"
#include "framework/XDException.h"
#include "platform/com/ComPtr.h"

namespace {

// "<part name>: <reason>", the form in which a markup failure reaches the user.
void DescribeFailure(IPartBase* part, HRESULT hr, const std::string& reason, std::string* errorMessage)
{
    if (!errorMessage)
        return;
    std::string uri;
    if (FAILED(part->GetUri(&uri)) || uri.empty())
        uri = "(unnamed part)";
    *errorMessage = uri + ": " + (reason.empty() ? FormatHresult(hr) : reason);
}

}  // namespace

HRESULT ParsePartMarkup(IPartBase* part, ISAXContentHandler* handler, std::string* errorMessage)
{
    if (!part || !handler)
        return E_POINTER;
    return GuardResult([&] {
        std::string reason;
        ComPtr<IPrintReadStream> stream;
        HRESULT hr = part->GetStream(stream.Put());
        ComPtr<ISequentialStream> adapter;
        if (SUCCEEDED(hr))
            hr = CSequentialReadAdapter::Create(stream.Get(), adapter.Put());
        if (SUCCEEDED(hr))
            hr = ParseSax(adapter.Get(), handler, errorMessage ? &reason : nullptr);
        if (FAILED(hr))
            DescribeFailure(part, hr, reason, errorMessage);
        return hr;
    });
}
