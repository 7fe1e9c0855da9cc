#pragma once
// The getter of a part that another part may hold: a print ticket, a package's thumbnail.
#include "platform/com/ComPtr.h"
#include "platform/com/Hresult.h"

// *out receives held with a reference of its own; null and ResultNotFound when nothing is held.
template <class T>
HRESULT CopyHeldPart(const ComPtr<T>& held, T** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return held ? held.CopyTo(out) : ResultNotFound;
}
