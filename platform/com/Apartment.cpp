#include "platform/com/Apartment.h"

namespace {
thread_local int apartmentDepth = 0;
}

HRESULT CoInitializeEx(void*, std::uint32_t)
{
    return apartmentDepth++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (apartmentDepth > 0)
        --apartmentDepth;
}
