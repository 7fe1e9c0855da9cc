#include "tests/support/TestProvider.h"

HRESULT CTestProvider::GetXpsPart(IUnknown** part)
{
    if (!part)
        return E_POINTER;
    *part = nullptr;
    if (beforePart) {
        const HRESULT hr = beforePart(handedOut);
        if (FAILED(hr))
            return hr;
    }
    if (handedOut >= parts.size())
        return S_OK;
    return parts[handedOut++].CopyTo(part);
}
