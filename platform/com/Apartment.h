#pragma once
// Apartments of the COM platform. Objects here are free-threaded, so entering an apartment only
// counts per thread: the first call answers S_OK, nested ones S_FALSE, as callers expect.
#include "platform/com/Hresult.h"

inline constexpr std::uint32_t COINIT_APARTMENTTHREADED = 0x2;
inline constexpr std::uint32_t COINIT_MULTITHREADED = 0x0;

HRESULT CoInitializeEx(void* reserved, std::uint32_t flags);
void CoUninitialize();
