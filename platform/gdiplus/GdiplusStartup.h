#pragma once
// Starting and stopping the graphics services. Nothing here needs a background thread or a
// display, so startup succeeds for version 1 whenever the arguments are sound; sessions are
// counted so that a shutdown without a startup is noticed.
#include <cstdint>

#include "platform/gdiplus/GdiplusStatus.h"

namespace Gdiplus {

using DebugEventProc = void (*)(int level, char* message);

struct GdiplusStartupInput {
    std::uint32_t GdiplusVersion = 1;
    DebugEventProc DebugEventCallback = nullptr;
    bool SuppressBackgroundThread = false;
    bool SuppressExternalCodecs = false;
};

struct GdiplusStartupOutput {
    void* NotificationHook = nullptr;
    void* NotificationUnhook = nullptr;
};

// *token names the session for GdiplusShutdown. UnsupportedGdiplusVersion for a version other
// than 1; InvalidParameter for a null token or input. output (optional) receives null hooks.
Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
// Ends the session of token; an unknown token is ignored.
void GdiplusShutdown(std::uintptr_t token);
// Sessions started and not shut down, process-wide.
long GdiplusLiveSessionCount();

} // namespace Gdiplus
