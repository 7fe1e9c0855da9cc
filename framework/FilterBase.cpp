#include "framework/FilterBase.h"

#include "framework/TraceControl.h"
#include "platform/com/Variant.h"
#include "platform/printticket/PrintTicketProvider.h"

CFilterBase::CFilterBase() : privateNamespace(kPrivateKeywordNamespace) {}

CFilterBase::~CFilterBase() { MarkFinished(); }

void CFilterBase::MarkFinished()
{
    if (finished.exchange(1) == 0 && managerControl)
        managerControl->FilterFinished();
}

void CFilterBase::RequestShutdown(HRESULT reason)
{
    if (managerControl)
        managerControl->RequestShutdown(reason, nullptr);
}

HRESULT CFilterBase::InitializeFilter(IInterFilterCommunicator* communicatorIn, IPrintPipelinePropertyBag* propertyBagIn,
                                      IPrintPipelineManagerControl* managerControlIn)
{
    if (!communicatorIn || !propertyBagIn || !managerControlIn) {
        RequestShutdown(E_POINTER);
        return E_POINTER;
    }
    communicator = communicatorIn;
    propertyBag = propertyBagIn;
    managerControl = managerControlIn;

    CVariant factory;
    if (SUCCEEDED(propertyBag->GetProperty("PrintClassFactory", &factory)) && factory.vt == VT_UNKNOWN)
        QueryTo(factory.punkVal, &classFactory);

    CVariant name;
    HRESULT hr = propertyBag->GetProperty("PrinterName", &name);
    if (SUCCEEDED(hr)) {
        if (name.vt == VT_BSTR)
            printerName = BstrToUtf8(name.bstrVal);
        else
            hr = E_INVALIDARG;
    }

    CVariant job;
    if (SUCCEEDED(propertyBag->GetProperty("PrintJobId", &job)) && (job.vt == VT_I4 || job.vt == VT_UI4))
        jobId = job.ulVal;

    finished = 0;
    if (FAILED(hr))
        TraceEvent(kTraceFlagError, "the pipeline gave no printer name: %s", FormatHresult(hr).c_str());
    return hr;
}

HRESULT CFilterBase::ShutdownOperation()
{
    if (finished == 0 && managerControl)
        MarkFinished();
    return S_OK;
}

HRESULT CFilterBase::PrepareJobTicket()
{
    if (!propertyBag)
        return ResultNotAvailable;
    CVariant factoryValue;
    HRESULT hr = propertyBag->GetProperty("PerUserPrintTicket", &factoryValue);
    CVariant name;
    if (SUCCEEDED(hr))
        hr = propertyBag->GetProperty("PrinterName", &name);
    if (FAILED(hr)) {
        TraceEvent(kTraceFlagError, "no user print ticket or printer name: %s", FormatHresult(hr).c_str());
        return hr;
    }
    if (factoryValue.vt != VT_UNKNOWN || name.vt != VT_BSTR)
        return E_INVALIDARG;

    ComPtr<IPrintReadStreamFactory> factory;
    hr = QueryTo(factoryValue.punkVal, &factory);
    ComPtr<IPrintReadStream> stream;
    if (SUCCEEDED(hr))
        hr = factory->GetStream(stream.Put());
    if (SUCCEEDED(hr))
        hr = ticketStore.Initialize(stream.Get(), BstrToUtf8(name.bstrVal));
    if (FAILED(hr))
        TraceEvent(kTraceFlagError, "the user print ticket could not be loaded: %s", FormatHresult(hr).c_str());
    return hr;
}
