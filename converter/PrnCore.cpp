// PRNCORE of the reference converter: opens and closes the job and takes the page DEVMODEs. Every
// call is written to the call log (docs/converter.md), delivered before the call returns.
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <type_traits>

#include "converter/ConverterSession.h"
#include "converter/JsonLine.h"

namespace {

// Jobs not closed (a job that failed before its end leaves the converter open) are freed when the
// library is unloaded. Each job runs on its own thread, but two jobs in one process share the list.
std::map<ConverterSession*, std::unique_ptr<ConverterSession>>& OpenSessions()
{
    static std::map<ConverterSession*, std::unique_ptr<ConverterSession>> sessions;
    return sessions;
}
std::mutex openSessionsLock;

} // namespace

CONVERTER_EXPORT void* PrnCtrlOpen(const char* outputName, std::int32_t reserved, const char* encoderPath,
                                   WriteConverterOutputFn write, void* context, const ConverterJobInfo* job,
                                   ConverterPollCallbackFn poll)
{
    if (!write || !job || job->size != kConverterJobInfoSize)
        return nullptr;
    auto* session = new (std::nothrow) ConverterSession(write, context);
    if (!session)
        return nullptr;
    {
        const std::lock_guard lock(openSessionsLock);
        OpenSessions().emplace(session, session);
    }
    std::uint8_t stop = 1;
    if (poll)
        poll(&stop);
    session->output.Deliver(CJsonLine("PrnCtrlOpen")
                                .Utf8("output", outputName ? outputName : "")
                                .Number("reserved", reserved)
                                .Utf8("encoder", encoderPath ? encoderPath : "")
                                .Utf16("printer", job->printerName, 256)
                                .Utf16("document", job->documentName, 256)
                                .Number("jobId", job->jobId)
                                .Number("one", job->one)
                                .Number("poll", poll ? stop : -1)
                                .Finish());
    return session;
}

CONVERTER_EXPORT void* PrnCtrlXPS2SPDLOpen(ConverterPollCallbackFn poll, void* control)
{
    auto* session = static_cast<ConverterSession*>(control);
    if (!session || session->conversionOpen)
        return nullptr;
    session->conversionOpen = true;
    session->output.Deliver(CJsonLine("PrnCtrlXPS2SPDLOpen").Number("poll", poll ? 1 : 0).Finish());
    return &session->conversion;
}

CONVERTER_EXPORT void* GetConvCntFromSPDLCnt(void* conversion)
{
    auto* handle = static_cast<ConverterConversion*>(conversion);
    if (!handle || !handle->session->conversionOpen)
        return nullptr;
    handle->session->output.Deliver(CJsonLine("GetConvCntFromSPDLCnt").Finish());
    return &handle->session->feed;
}

CONVERTER_EXPORT std::int32_t DevModeSet(const DEVMODE* devMode, std::uint32_t size, void* control)
{
    auto* session = static_cast<ConverterSession*>(control);
    if (!session)
        return 0;
    CJsonLine line("DevModeSet");
    line.Number("size", size);
    const bool whole = devMode && size >= sizeof(DEVMODE);
    if (whole) {
        line.Number("dmSize", devMode->dmSize)
            .Number("driverExtra", devMode->dmDriverExtra)
            .Number("fields", devMode->dmFields)
            .Number("paperSize", devMode->dmPaperSize)
            .Number("paperWidth", devMode->dmPaperWidth)
            .Number("paperLength", devMode->dmPaperLength)
            .Number("orientation", devMode->dmOrientation)
            .Number("duplex", devMode->dmDuplex)
            .Number("printQuality", devMode->dmPrintQuality)
            .Number("yResolution", devMode->dmYResolution)
            .Number("color", devMode->dmColor)
            .Number("copies", devMode->dmCopies)
            .Utf16("formName", devMode->dmFormName, 32);
    }
    session->output.Deliver(line.Finish());
    return whole ? 1 : 0;
}

CONVERTER_EXPORT std::int32_t PrnCtrlXPS2SPDLClose(void* conversion)
{
    auto* handle = static_cast<ConverterConversion*>(conversion);
    if (!handle || !handle->session->conversionOpen)
        return 0;
    handle->session->conversionOpen = false;
    handle->session->output.Deliver(CJsonLine("PrnCtrlXPS2SPDLClose").Finish());
    return 1;
}

CONVERTER_EXPORT std::int32_t PrnCtrlClose(void* control)
{
    auto* session = static_cast<ConverterSession*>(control);
    if (!session)
        return 0;
    session->output.Deliver(CJsonLine("PrnCtrlClose").Finish());
    const std::lock_guard lock(openSessionsLock);
    OpenSessions().erase(session);
    return 1;
}

static_assert(std::is_same_v<decltype(&PrnCtrlOpen), PrnCtrlOpenFn>);
static_assert(std::is_same_v<decltype(&PrnCtrlXPS2SPDLOpen), PrnCtrlXPS2SPDLOpenFn>);
static_assert(std::is_same_v<decltype(&GetConvCntFromSPDLCnt), GetConvCntFromSPDLCntFn>);
static_assert(std::is_same_v<decltype(&DevModeSet), DevModeSetFn>);
static_assert(std::is_same_v<decltype(&PrnCtrlXPS2SPDLClose), PrnCtrlXPS2SPDLCloseFn>);
static_assert(std::is_same_v<decltype(&PrnCtrlClose), PrnCtrlCloseFn>);
