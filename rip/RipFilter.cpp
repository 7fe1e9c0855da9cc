#include "rip/RipFilter.h"

#include <cstdio>

#include "framework/TraceControl.h"
#include "framework/XDException.h"
#include "platform/com/Apartment.h"
#include "platform/printticket/PrintTicketProvider.h"
#include "platform/spooler/Spooler.h"

namespace {

// Converter records hold at most 255 characters and a terminator.
void CopyRecordText(char16_t (&target)[256], const std::string& utf8)
{
    std::u16string text = Utf8ToUtf16(utf8);
    if (text.size() > 255) {
        // A surrogate pair is kept whole or not at all.
        text.resize(text[254] >= 0xD800 && text[254] < 0xDC00 ? 254 : 255);
    }
    std::copy(text.begin(), text.end(), target);
    target[text.size()] = u'\0';
}

bool IsCancellation(HRESULT hr) { return hr == HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED); }

} // namespace

CRipFilter::CRipFilter() = default;

CRipFilter::~CRipFilter() = default;

HRESULT CRipFilter::StartOperation()
{
    if (FAILED(prnCore.module.Result())) {
        ReportFailure(prnCore.module.Result(), prnCore.module.Failure());
        MarkFinished();
        return E_FAIL;
    }
    ReadOutputProperties();
    ComPtr<IPrintPipelineProgressReport> progress;
    if (CVariant value; propertyBag && SUCCEEDED(propertyBag->GetProperty("ProgressReport", &value)) &&
                        value.vt == VT_UNKNOWN)
        QueryTo(value.punkVal, &progress);

    pagesInDocument = 0;
    documentCount = 0;
    pagesInJob = 0;
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT hr = apartment;
    if (SUCCEEDED(hr))
        hr = GuardResult([&] { return ConnectReaderWriter(); });
    if (SUCCEEDED(hr)) {
        hr = GuardResult([&] { return PrepareJobTicket(); });
        if (FAILED(hr))
            failureReason = "the job's print ticket could not be prepared";
    }
    if (SUCCEEDED(hr)) {
        hr = RunPartLoop(progress.Get());
        if (SUCCEEDED(hr))
            hr = GuardResult([&] { return OnEndOfParts(); });
    }
    // What the converter delivered stays delivered, also when the job failed.
    if (writer)
        writer->Close();
    if (propertyBag)
        propertyBag->DeleteProperty("ProgressReport");
    if (SUCCEEDED(apartment))
        CoUninitialize();

    if (FAILED(hr)) {
        if (finished || IsCancellation(hr))
            TraceEvent(kTraceFlagParts, "the job was cancelled");
        else
            ReportFailure(hr, failureReason.empty() ? "the job could not be converted" : failureReason);
    }
    MarkFinished();
    // The pipeline learns of a failure through RequestShutdown, never through this result.
    return S_OK;
}

HRESULT CRipFilter::RunPartLoop(IPrintPipelineProgressReport* progress)
{
    auto report = [progress](EXpsJobConsumption update) {
        if (progress)
            progress->ReportProgress(update);
    };
    for (;;) {
        ComPtr<IUnknown> part;
        HRESULT hr = reader->GetXpsPart(part.Put());
        if (FAILED(hr)) {
            failureReason = "the next part of the job could not be read";
            return hr;
        }
        if (!part || finished)
            return S_OK;
        if (ComPtr<IXpsDocument> document; SUCCEEDED(QueryTo(part.Get(), &document))) {
            hr = GuardResult([&] { return OnXpsDocument(document.Get()); });
        } else if (ComPtr<IFixedDocumentSequence> sequence; SUCCEEDED(QueryTo(part.Get(), &sequence))) {
            report(XpsJob_DocumentSequenceAdded);
            hr = GuardResult([&] { return OnFixedDocumentSequence(sequence.Get()); });
        } else if (ComPtr<IFixedDocument> fixedDocument; SUCCEEDED(QueryTo(part.Get(), &fixedDocument))) {
            pagesInDocument = 0;
            ++documentCount;
            report(XpsJob_FixedDocumentAdded);
            hr = GuardResult([&] { return OnFixedDocument(fixedDocument.Get()); });
        } else if (ComPtr<IFixedPage> page; SUCCEEDED(QueryTo(part.Get(), &page))) {
            ++pagesInDocument;
            ++pagesInJob;
            report(XpsJob_FixedPageAdded);
            TraceEvent(kTraceFlagParts, "page %d of document %d", pagesInDocument, documentCount);
            hr = GuardResult([&] { return OnFixedPage(page.Get()); });
        }
        if (FAILED(hr))
            return hr;
    }
}

HRESULT CRipFilter::OnFixedDocument(IFixedDocument* document)
{
    if (!document)
        return E_POINTER;
    const HRESULT hr = ticketStore.UpdateDocumentTicket(document);
    if (FAILED(hr))
        failureReason = "the print ticket of document " + std::to_string(documentCount) + " could not be merged";
    return hr;
}

HRESULT CRipFilter::OnFixedDocumentSequence(IFixedDocumentSequence* sequence)
{
    if (!sequence)
        return E_POINTER;
    const HRESULT hr = ticketStore.UpdateJobTicket(sequence);
    if (FAILED(hr))
        failureReason = "the job's print ticket could not be merged";
    return hr;
}

HRESULT CRipFilter::OnXpsDocument(IXpsDocument* document) { return document ? S_OK : E_POINTER; }

HRESULT CRipFilter::OnEndOfParts()
{
    if (conversionHandle)
        prnCore.PrnCtrlXPS2SPDLClose(std::exchange(conversionHandle, nullptr));
    feedHandle = nullptr;
    if (controlHandle)
        prnCore.PrnCtrlClose(std::exchange(controlHandle, nullptr));
    if (FAILED(writeFailure))
        failureReason = "the device data could not be written";
    return writeFailure;
}

HRESULT CRipFilter::ConnectReaderWriter()
{
    // Checked before the converter is opened, so that its first output has a place to go.
    const HRESULT hr = RequestReaderWriter(&reader, &writer);
    if (hr == E_NOINTERFACE) {
        failureReason = "the RIP filter needs a part reader and a printer stream (it must be the last filter)";
        return E_FAIL;
    }
    if (FAILED(hr)) {
        if (hr != ResultNotAvailable)
            failureReason = "the pipeline gave no reader or writer";
        return hr;
    }

    ConverterJobInfo job{};
    job.size = kConverterJobInfoSize;
    CopyRecordText(job.printerName, printerName);
    CopyRecordText(job.documentName, JobDocumentName());
    job.jobId = jobId;
    job.one = 1;
    const std::string encoder = EncoderPath();

    controlHandle = prnCore.PrnCtrlOpen("driverout", 0, encoder.c_str(), WriteConverterOutput, this, &job,
                                        ConverterPollCallback);
    if (controlHandle)
        conversionHandle = prnCore.PrnCtrlXPS2SPDLOpen(ConverterPollCallback, controlHandle);
    if (conversionHandle)
        feedHandle = prnCore.GetConvCntFromSPDLCnt(conversionHandle);
    if (!feedHandle) {
        failureReason = !controlHandle      ? "the converter did not open the job (PrnCtrlOpen)"
                        : !conversionHandle ? "the converter did not open the conversion (PrnCtrlXPS2SPDLOpen)"
                                            : "the converter gave no feed handle (GetConvCntFromSPDLCnt)";
        return E_FAIL;
    }
    return S_OK;
}

void CRipFilter::ReadOutputProperties()
{
    if (!propertyBag)
        return;
    const std::pair<const char*, std::int32_t*> properties[] = {{"OutputBitsPixel", &outputBitsPixel},
                                                                {"OutputPlanes", &outputPlanes},
                                                                {"PortraitRotation", &portraitRotation},
                                                                {"LandscapeRotation", &landscapeRotation}};
    for (const auto& [name, field] : properties) {
        CVariant value;
        if (propertyBag->GetProperty(name, &value) == S_OK && (value.vt == VT_I4 || value.vt == VT_UI4))
            *field = value.lVal;
    }
}

std::string CRipFilter::EncoderPath()
{
    CVariant value;
    if (!propertyBag || propertyBag->GetProperty("EncDllName64", &value) != S_OK || value.vt != VT_BSTR)
        return {};
    // The encoder is installed beside the filter's own file.
    const std::string self =
        GetModuleFileNameW(ModuleHandleFromAddress(reinterpret_cast<const void*>(&CRipFilter::ConverterPollCallback)));
    const std::size_t cut = self.find_last_of("/\\:");
    const std::string directory = cut == std::string::npos ? std::string() : self.substr(0, cut + 1);
    return directory + BstrToUtf8(value.bstrVal);
}

std::string CRipFilter::JobDocumentName()
{
    CVariant value;
    if (!propertyBag || FAILED(propertyBag->GetProperty("PrintJobId", &value)) ||
        (value.vt != VT_I4 && value.vt != VT_UI4))
        return {};
    jobId = value.ulVal;
    HPRINTER printer = nullptr;
    if (FAILED(OpenPrinterW(printerName, &printer)))
        return {};
    JobInfo job;
    const HRESULT hr = GetJobW(printer, jobId, &job);
    ClosePrinter(printer);
    return SUCCEEDED(hr) ? job.document : std::string();
}

void CRipFilter::ReportFailure(HRESULT hr, const std::string& reason)
{
    std::fprintf(stderr, "ripfilter: %s (%s)\n", reason.c_str(), FormatHresult(hr).c_str());
    TraceEvent(kTraceFlagError, "%s (%s)", reason.c_str(), FormatHresult(hr).c_str());
    RequestShutdown(hr);
}
