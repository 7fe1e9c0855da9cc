// The resources are not served yet: every callback answers failure (0) with an empty result, so a
// converter that needs a font, profile or image of the page has to do without it.
#include "rip/ResourceCallbacks.h"

#include <type_traits>

#define RIP_EXPORT extern "C" __attribute__((visibility("default")))

RIP_EXPORT std::int32_t GetXPSFontData(ConverterAllocateFn, ConverterReleaseFn, void*, const char*, void*, void*,
                                       void** data, std::uint32_t* size)
{
    if (data)
        *data = nullptr;
    if (size)
        *size = 0;
    return 0;
}

RIP_EXPORT std::int32_t GetXPSICCData(ConverterAllocateFn allocate, ConverterReleaseFn release, void* page,
                                      const char* partName, void* ignored1, void* ignored2, void** data,
                                      std::uint32_t* size)
{
    return GetXPSFontData(allocate, release, page, partName, ignored1, ignored2, data, size);
}

RIP_EXPORT std::int32_t GetXPSImageData(ConverterAllocateFn, ConverterReleaseFn, void*, const char*, void*, void*,
                                        void** data)
{
    if (data)
        *data = nullptr;
    return 0;
}

static_assert(std::is_same_v<decltype(&GetXPSFontData), GetXPSFontDataFn>);
static_assert(std::is_same_v<decltype(&GetXPSICCData), GetXPSICCDataFn>);
static_assert(std::is_same_v<decltype(&GetXPSImageData), GetXPSImageDataFn>);
