#include "platform/com/Variant.h"

void VariantInit(VARIANT* value)
{
    value->vt = VT_EMPTY;
    value->punkVal = nullptr;
}

HRESULT VariantClear(VARIANT* value)
{
    if (!value)
        return E_POINTER;
    if (value->vt == VT_BSTR)
        SysFreeString(value->bstrVal);
    else if (value->vt == VT_UNKNOWN && value->punkVal)
        value->punkVal->Release();
    VariantInit(value);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* destination, const VARIANT* source)
{
    if (!destination || !source)
        return E_POINTER;
    if (destination == source)
        return S_OK;
    VariantClear(destination);
    destination->vt = source->vt;
    switch (source->vt) {
    case VT_BSTR:
        destination->bstrVal = source->bstrVal ? SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal)) : nullptr;
        if (source->bstrVal && !destination->bstrVal) {
            VariantInit(destination);
            return E_OUTOFMEMORY;
        }
        break;
    case VT_UNKNOWN:
        destination->punkVal = source->punkVal;
        if (destination->punkVal)
            destination->punkVal->AddRef();
        break;
    default:
        destination->ulVal = source->ulVal;
        break;
    }
    return S_OK;
}
