// One page through the converter: DEVMODE from its ticket, page values, then its markup.
#include <memory>

#include "framework/PageMediaSizeRecord.h"
#include "framework/TicketDocument.h"
#include "framework/XDException.h"
#include "rip/MarkupFeeder.h"
#include "rip/PageDeviceCodes.h"
#include "rip/RipFilter.h"

namespace {

struct DevModeRelease {
    void operator()(DEVMODE* devMode) const { PTReleaseMemory(devMode); }
};

// Landscape (0) and ReverseLandscape (2) turn by LandscapeRotation.
bool IsLandscape(std::int32_t orientation) { return orientation == 0 || orientation == 2; }

} // namespace

HRESULT CRipFilter::OnFixedPage(IFixedPage* page)
{
    if (!page)
        return E_POINTER;
    return GuardResult([&] { return ConvertPage(page); });
}

HRESULT CRipFilter::ConvertPage(IFixedPage* page)
{
    std::string pageName;
    if (FAILED(page->GetUri(&pageName)) || pageName.empty())
        pageName = "page " + std::to_string(pagesInJob);

    HRESULT hr = ticketStore.UpdatePageTicket(page);
    CXmlDocument* ticket = nullptr;
    if (SUCCEEDED(hr) || hr == ResultNotFound)
        hr = ticketStore.GetScopeTicket(TicketScope::Page, &ticket);
    std::unique_ptr<DEVMODE, DevModeRelease> devMode;
    std::uint32_t devModeSize = 0;
    if (SUCCEEDED(hr)) {
        DEVMODE* made = nullptr;
        hr = ConvertTicketToDevMode(ticket, &made, &devModeSize);
        devMode.reset(made);
    }
    if (hr == ResultNotFound)
        return S_FALSE;  // no ticket for the page: it is skipped and the job goes on
    if (FAILED(hr)) {
        failureReason = pageName + ": its print ticket could not be turned into a device mode";
        return hr;
    }

    prnCore.DevModeSet(devMode.get(), devModeSize, controlHandle);
    PageDeviceRecord device;
    hr = ReadPageDevice(ticket, &device);
    if (FAILED(hr)) {
        failureReason = pageName + ": its print ticket could not be read";
        return hr;
    }

    ComPtr<CMarkupFeeder> feeder;
    feeder.Attach(new CMarkupFeeder(page, device, controlHandle, feedHandle, true, printerName, jobId));
    std::string reason;
    hr = feeder->Feed(page, &reason);
    if (FAILED(hr))
        failureReason = reason.empty() ? pageName + ": the converter did not take the page" : reason;
    else if (FAILED(writeFailure)) {
        hr = writeFailure;
        failureReason = pageName + ": the device data could not be written";
    }
    return hr;
}

HRESULT CRipFilter::ConvertTicketToDevMode(CXmlDocument* ticket, DEVMODE** devMode, std::uint32_t* size)
{
    if (!ticket || !devMode || !size)
        return E_POINTER;
    HPTPROVIDER provider = ticketStore.Provider();
    if (!provider)
        return ResultNotAvailable;
    ComPtr<IStream> stream;
    HRESULT hr = ticket->GetStream(stream.Put());
    if (FAILED(hr))
        return hr;
    CBstr message;
    return PTConvertPrintTicketToDevMode(provider, stream.Get(), kUserDefaultDevmode, kPTJobScope, size,
                                         devMode, message.Put());
}

HRESULT CRipFilter::ReadPageDevice(CXmlDocument* ticket, PageDeviceRecord* device)
{
    CTicketDocument document("PrintTicket", privateNamespace, ticket);
    PageMediaSizeRecord media;
    const HRESULT hr = ReadPageMediaSize(document, &media);
    if (FAILED(hr))
        return hr;
    std::int32_t x = 0;
    std::int32_t y = 0;
    const bool read = SUCCEEDED(document.GetScoredPropertyInt("PageResolution", "ResolutionX", &x)) &&
                      SUCCEEDED(document.GetScoredPropertyInt("PageResolution", "ResolutionY", &y));
    const PageResolution resolution = ConverterResolution(read, x, y);

    device->width = media.width;
    device->height = media.height;
    device->resolutionX = resolution.x;
    device->resolutionY = resolution.y;
    device->rotationCode = RotationCode(IsLandscape(media.orientation), portraitRotation, landscapeRotation);
    device->planeCode = PlaneCode(outputPlanes);
    device->outputPlanes = outputPlanes;
    device->outputBitsPixel = outputBitsPixel;
    return S_OK;
}
