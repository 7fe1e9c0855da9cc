#include "framework/GdiplusSession.h"

CGdiplusSession::CGdiplusSession()
{
    const Gdiplus::GdiplusStartupInput input;
    startupStatus = Gdiplus::GdiplusStartup(&startupToken, &input, nullptr);
}

CGdiplusSession::~CGdiplusSession()
{
    if (startupStatus == Gdiplus::Ok)
        Gdiplus::GdiplusShutdown(startupToken);
}
