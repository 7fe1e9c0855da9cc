#pragma once
// A started graphics session, held for the life of a filter object.
#include <cstdint>

#include "platform/gdiplus/GdiplusStartup.h"

class CGdiplusSession {
public:
    // Starts version 1, no debug callback, background thread and external codecs not suppressed.
    CGdiplusSession();
    // Shuts the session down when it started.
    ~CGdiplusSession();
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    // Ok when started; GdiplusNotInitialized until then.
    Gdiplus::Status StartupStatus() const { return startupStatus; }

private:
    std::uintptr_t startupToken = 0;
    Gdiplus::Status startupStatus = Gdiplus::GdiplusNotInitialized;
};
