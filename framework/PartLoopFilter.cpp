#include "framework/PartLoopFilter.h"

#include "framework/PartUri.h"
#include "framework/TraceControl.h"
#include "framework/XDException.h"
#include "platform/com/Apartment.h"

namespace {

std::string PartName(IUnknown* part)
{
    const std::string uri = PartUri(part);
    return uri.empty() ? "(unnamed part)" : uri;
}

} // namespace

CPartLoopFilter::CPartLoopFilter() : gdiplusReady(gdiplusSession.StartupStatus() == Gdiplus::Ok ? 1 : 0) {}

CPartLoopFilter::~CPartLoopFilter() = default;

HRESULT CPartLoopFilter::StartOperation()
{
    pagesInDocument = 0;
    documentCount = 0;
    pagesInJob = 0;
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT hr = apartment;
    if (SUCCEEDED(hr))
        hr = GuardResult([&] { return ConnectReaderWriter(); });
    if (SUCCEEDED(hr))
        hr = GuardResult([&] { return PrepareJobTicket(); });
    if (SUCCEEDED(hr)) {
        hr = RunPartLoop();
        if (SUCCEEDED(hr))
            hr = GuardResult([&] { return OnEndOfParts(); });
        // The next filter learns that nothing more comes, also after a failure; a failed close
        // means the job did not get through.
        const HRESULT closed = consumer ? consumer->CloseSender() : ResultNotAvailable;
        if (SUCCEEDED(hr) && FAILED(closed))
            hr = closed;
    }
    if (FAILED(hr)) {
        if (finished)
            hr = S_OK;  // an aborted job reports no error
        else {
            TraceEvent(kTraceFlagError, "the job ends with %s", FormatHresult(hr).c_str());
            RequestShutdown(hr);
        }
    }
    if (SUCCEEDED(apartment))
        CoUninitialize();
    MarkFinished();
    return hr;
}

HRESULT CPartLoopFilter::RunPartLoop()
{
    if (!provider)
        return ResultNotAvailable;
    for (;;) {
        ComPtr<IUnknown> part;
        HRESULT hr = provider->GetXpsPart(part.Put());
        if (FAILED(hr))
            return hr;
        if (!part || finished)
            return S_OK;  // a part that arrives after a shutdown is released unsent
        hr = DispatchPart(part.Get());
        if (FAILED(hr)) {
            TraceEvent(kTraceFlagError, "%s failed: %s", PartName(part.Get()).c_str(), FormatHresult(hr).c_str());
            return hr;
        }
    }
}

HRESULT CPartLoopFilter::DispatchPart(IUnknown* part)
{
    const bool hooks = gdiplusReady != 0;
    if (ComPtr<IXpsDocument> document; SUCCEEDED(QueryTo(part, &document)))
        return GuardResult([&] { return hooks ? OnXpsDocument(document.Get()) : consumer->SendXpsDocument(document.Get()); });
    if (ComPtr<IFixedDocumentSequence> sequence; SUCCEEDED(QueryTo(part, &sequence)))
        return GuardResult([&] {
            return hooks ? OnFixedDocumentSequence(sequence.Get()) : consumer->SendFixedDocumentSequence(sequence.Get());
        });
    if (ComPtr<IFixedDocument> document; SUCCEEDED(QueryTo(part, &document))) {
        pagesInDocument = 0;
        ++documentCount;
        TraceEvent(kTraceFlagParts, "document %d", documentCount);
        return GuardResult([&] { return hooks ? OnFixedDocument(document.Get()) : consumer->SendFixedDocument(document.Get()); });
    }
    if (ComPtr<IFixedPage> page; SUCCEEDED(QueryTo(part, &page))) {
        ++pagesInDocument;
        ++pagesInJob;
        TraceEvent(kTraceFlagParts, "page %d of document %d", pagesInDocument, documentCount);
        return GuardResult([&] { return hooks ? OnFixedPage(page.Get()) : consumer->SendFixedPage(page.Get()); });
    }
    return consumer->SendXpsUnknown(part);
}

HRESULT CPartLoopFilter::OnFixedPage(IFixedPage* page)
{
    if (!page)
        return E_POINTER;
    if (!consumer)
        return ResultNotAvailable;
    return consumer->SendFixedPage(page);
}

HRESULT CPartLoopFilter::OnFixedDocument(IFixedDocument* document)
{
    if (!document)
        return E_POINTER;
    if (!consumer)
        return ResultNotAvailable;
    const HRESULT hr = ticketStore.UpdateDocumentTicket(document);
    return FAILED(hr) ? hr : consumer->SendFixedDocument(document);
}

HRESULT CPartLoopFilter::OnFixedDocumentSequence(IFixedDocumentSequence* sequence)
{
    if (!sequence)
        return E_POINTER;
    if (!consumer)
        return ResultNotAvailable;
    const HRESULT hr = ticketStore.UpdateJobTicket(sequence);
    return FAILED(hr) ? hr : consumer->SendFixedDocumentSequence(sequence);
}

HRESULT CPartLoopFilter::OnXpsDocument(IXpsDocument* document)
{
    if (!document)
        return E_POINTER;
    if (!consumer)
        return ResultNotAvailable;
    return consumer->SendXpsDocument(document);
}

HRESULT CPartLoopFilter::OnEndOfParts() { return S_OK; }

HRESULT CPartLoopFilter::ConnectReaderWriter()
{
    const HRESULT hr = RequestReaderWriter(&provider, &consumer);
    if (hr == E_NOINTERFACE) {
        TraceEvent(kTraceFlagError, "the previous or next filter does not exchange XPS parts");
        RequestShutdown(E_FAIL);
        return E_FAIL;
    }
    return hr;
}
