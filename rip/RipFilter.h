#pragma once
// The RIP filter: the last filter of a printing chain. It forwards no parts; every page goes to the
// device converter (PRNCORE and XPSFEED of the driver) as a DEVMODE, page values and its markup,
// and what the converter delivers is written to the printer stream as it arrives.
#include <cstdint>
#include <span>
#include <string>

#include "framework/FilterBase.h"
#include "rip/ConverterRecordReader.h"
#include "rip/PrnCoreLibrary.h"

class CXmlDocument;

class CRipFilter final : public CFilterBase {
public:
    // Loads PRNCORE from the driver directory.
    CRipFilter();

    // Runs the job: opens the converter, converts every page, closes the converter, closes the
    // printer stream. Answers S_OK also for a failed job, which is reported to the pipeline through
    // RequestShutdown instead (a cancellation is not a failure); E_FAIL, with RequestShutdown, when
    // PRNCORE could not be loaded.
    HRESULT StartOperation() override;

    // Called by PRNCORE with this filter as context: reassembles the records and writes the device
    // data. Answers the result of the last write (S_OK when there was none).
    static std::int32_t WriteConverterOutput(const void* buffer, std::uint32_t count, void* context);
    // Stores 0 (go on) and answers 1.
    static std::int32_t ConverterPollCallback(std::uint8_t* stop);

protected:
    ~CRipFilter() override;

    // The part hooks, called only by StartOperation; a null part gives E_POINTER.
    // Converts the page; S_FALSE (page skipped) when its ticket cannot be found.
    virtual HRESULT OnFixedPage(IFixedPage* page);
    virtual HRESULT OnFixedDocument(IFixedDocument* document);
    virtual HRESULT OnFixedDocumentSequence(IFixedDocumentSequence* sequence);
    // The package part: dropped.
    virtual HRESULT OnXpsDocument(IXpsDocument* document);
    // Closes the converter; its last output is still written.
    virtual HRESULT OnEndOfParts();
    // Reader, printer stream and the converter's control, conversion and feed handles.
    virtual HRESULT ConnectReaderWriter();

private:
    HRESULT RunPartLoop(IPrintPipelineProgressReport* progress);
    HRESULT ConvertPage(IFixedPage* page);
    // PTConvertPrintTicketToDevMode on ticket; *devMode is released with PTReleaseMemory.
    HRESULT ConvertTicketToDevMode(CXmlDocument* ticket, DEVMODE** devMode, std::uint32_t* size);
    // Builds the page values from the page's ticket and the output properties.
    HRESULT ReadPageDevice(CXmlDocument* ticket, struct PageDeviceRecord* device);
    void ReadOutputProperties();
    std::string EncoderPath();
    std::string JobDocumentName();
    void WriteDeviceData(std::span<const std::uint8_t> bytes);
    // Tells the user why the job ends (standard error) and the pipeline (RequestShutdown).
    void ReportFailure(HRESULT hr, const std::string& reason);

    ComPtr<IPrintWriteStream> writer;
    ComPtr<IXpsDocumentProvider> reader;
    std::int32_t pagesInDocument = 0;
    std::int32_t documentCount = 0;
    std::int32_t pagesInJob = 0;
    PrnCoreLibrary prnCore;
    void* controlHandle = nullptr;
    void* conversionHandle = nullptr;
    void* feedHandle = nullptr;
    ConverterRecordReader records;
    // The first failed write of device data: the printer stream has a hole, so the job fails.
    HRESULT writeFailure = S_OK;
    std::int32_t outputBitsPixel = 8;
    std::int32_t outputPlanes = 3;
    std::int32_t portraitRotation = 0;
    std::int32_t landscapeRotation = 270;
    // Why the last hook failed, for the user.
    std::string failureReason;
};
