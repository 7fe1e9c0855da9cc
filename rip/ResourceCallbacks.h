#pragma once
// The resource callbacks the converter calls back while it converts a page: the bytes of a font or
// colour profile part, or a decoded image, of the page given to XpsSetConvResAPI. Exported by the
// deliverable with C linkage.
#include "converter/ConverterApi.h"

extern "C" {
std::int32_t GetXPSFontData(ConverterAllocateFn allocate, ConverterReleaseFn release, void* page, const char* partName,
                            void* ignored1, void* ignored2, void** data, std::uint32_t* size);
std::int32_t GetXPSICCData(ConverterAllocateFn allocate, ConverterReleaseFn release, void* page, const char* partName,
                           void* ignored1, void* ignored2, void** data, std::uint32_t* size);
std::int32_t GetXPSImageData(ConverterAllocateFn allocate, ConverterReleaseFn release, void* page,
                             const char* partName, void* ignored1, void* ignored2, void** data);
}
