#include "rip/MarkupFeeder.h"

#include <cstdio>

#include "framework/PartMarkup.h"
#include "framework/XDException.h"
#include "rip/EightBitText.h"
#include "rip/ResourceCallbacks.h"

namespace {

constexpr std::string_view kResourceDictionary = "ResourceDictionary";
constexpr std::string_view kImageBrush = "ImageBrush";

// A Source reference resolved against the name of the part that holds it ("/a/b/p.fpage" and
// "../r.dict" give "/a/r.dict"); an absolute reference stays as it is.
std::string ResolvePartReference(const std::string& base, std::string_view reference)
{
    std::string joined = reference.starts_with('/') ? std::string(reference)
                                                    : base.substr(0, base.rfind('/') + 1) + std::string(reference);
    std::string resolved;
    std::size_t start = 1;
    while (start <= joined.size()) {
        std::size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string_view segment = std::string_view(joined).substr(start, end - start);
        if (segment == "..") {
            resolved.erase(resolved.empty() ? 0 : resolved.rfind('/'));
        } else if (!segment.empty() && segment != ".") {
            resolved += '/';
            resolved += segment;
        }
        start = end + 1;
    }
    return resolved.empty() ? "/" : resolved;
}

} // namespace

CMarkupFeeder::CMarkupFeeder(IFixedPage* page_, const PageDeviceRecord& device_, void* controlHandle_,
                             void* feedHandle_, bool pageSetup_, const std::string& printerName,
                             std::uint32_t jobId_)
    : page(page_), pageSetup(pageSetup_), device(device_), controlHandle(controlHandle_), feedHandle(feedHandle_),
      jobId(jobId_)
{
    if (!printerName.empty() && FAILED(OpenPrinterW(printerName, &printer)))
        printer = nullptr;
}

CMarkupFeeder::~CMarkupFeeder()
{
    if (printer)
        ClosePrinter(printer);
}

HRESULT CMarkupFeeder::Feed(IPartBase* part, std::string* errorMessage)
{
    if (FAILED(xpsFeed.module.Result())) {
        if (errorMessage)
            *errorMessage = xpsFeed.module.Failure();
        return E_FAIL;
    }
    return ParsePartMarkup(part, this, errorMessage);
}

HRESULT CMarkupFeeder::startDocument()
{
    if (!pageSetup)
        return S_OK;
    xpsFeed.XpsSetConvResAPI(feedHandle, page.Get(), GetXPSFontData, GetXPSICCData, GetXPSImageData, nullptr,
                             nullptr);
    const PageDeviceRecord& d = device;
    xpsFeed.XpsSetPageDevice(feedHandle, 1, 1, d.width, d.height, 0, 0, d.width, d.height, d.resolutionX,
                             d.resolutionY, d.rotationCode, 0, 4, 100, d.height, d.height, d.planeCode,
                             d.outputPlanes, d.outputBitsPixel);
    return S_OK;
}

HRESULT CMarkupFeeder::startElement(std::string_view, std::string_view, std::string_view qName,
                                    SaxAttributes attributes)
{
    if (qName.empty())
        return E_INVALIDARG;
    return GuardResult([&]() -> HRESULT {
        lastElement.assign(qName);
        if (!xpsFeed.XPSStartElem(CEightBitText(qName).CStr(), feedHandle))
            return E_FAIL;
        elementOpen = true;
        // The converter takes the attributes last to first. Namespace declarations are not
        // attributes of the element and are not passed.
        for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
            if (it->qName == "xmlns" || it->qName.starts_with("xmlns:"))
                continue;
            const CEightBitText name(it->qName);
            std::int32_t accepted = 0;
            if (it->qName == "UnicodeString") {
                const std::u16string value = Utf8ToUtf16(it->value);
                accepted = xpsFeed.XPSReadAtt(name.CStr(), value.c_str(), feedHandle);
            } else {
                accepted = xpsFeed.XPSReadAtt(name.CStr(), CEightBitText(it->value).CStr(), feedHandle);
            }
            if (!accepted)
                return E_FAIL;
            // Only the page's own references are followed: a remote dictionary may not name
            // another, and following one that names itself would never end.
            if (pageSetup && qName == kResourceDictionary && it->qName == "Source") {
                dictionaryPending = true;
                dictionarySource.assign(it->value);
            }
        }
        return S_OK;
    });
}

HRESULT CMarkupFeeder::endElement(std::string_view, std::string_view, std::string_view qName)
{
    return GuardResult([&]() -> HRESULT {
        const std::int32_t accepted = qName == lastElement && elementOpen
                                          ? xpsFeed.XPSEndCurElem(feedHandle)
                                          : xpsFeed.XPSEndElem(CEightBitText(qName).CStr(), feedHandle);
        if (qName.ends_with(kImageBrush) && JobCancelled())
            return HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED);
        if (!accepted) {
            elementOpen = false;
            return E_FAIL;
        }
        if (dictionaryPending && qName == kResourceDictionary) {
            // A dictionary that cannot be fed leaves the page without its resources but does not
            // end the job; the converter decides what the page looks like without them.
            if (const HRESULT hr = FeedRemoteDictionary(); FAILED(hr))
                std::fprintf(stderr, "ripfilter: resource dictionary %s not fed: %s\n", dictionarySource.c_str(),
                             FormatHresult(hr).c_str());
            dictionaryPending = false;
        }
        elementOpen = false;
        return S_OK;
    });
}

bool CMarkupFeeder::JobCancelled() const
{
    if (!printer)
        return false;
    JobInfo job;
    return SUCCEEDED(GetJobW(printer, jobId, &job)) && (job.status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED));
}

HRESULT CMarkupFeeder::FeedRemoteDictionary()
{
    if (dictionarySource.empty())
        return E_INVALIDARG;
    std::string pageName;
    HRESULT hr = page->GetUri(&pageName);
    ComPtr<IUnknown> part;
    if (SUCCEEDED(hr))
        hr = page->GetPagePart(ResolvePartReference(pageName, dictionarySource).c_str(), part.Put());
    ComPtr<IPartResourceDictionary> dictionary;
    if (SUCCEEDED(hr))
        hr = QueryTo(part.Get(), &dictionary);
    if (FAILED(hr))
        return hr;
    ComPtr<CMarkupFeeder> feeder;
    feeder.Attach(new CMarkupFeeder(page.Get(), PageDeviceRecord{}, controlHandle, feedHandle, false, {}, 0));
    std::string reason;
    hr = feeder->Feed(dictionary.Get(), &reason);
    if (FAILED(hr) && !reason.empty())
        std::fprintf(stderr, "ripfilter: %s\n", reason.c_str());
    return hr;
}
