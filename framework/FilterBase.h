#pragma once
// The filter object's base: initialisation and shutdown for the pipeline, the pipeline's objects,
// the job's ticket store and the job's identity. The part loop (CPartLoopFilter) or a filter of
// its own kind brings StartOperation.
#include <atomic>
#include <cstdint>
#include <string>

#include "framework/ComBase.h"
#include "framework/PrintTicketStore.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/PipelineFilter.h"

class CFilterBase : public CComBase<IPrintPipelineFilter> {
public:
    // Keeps the three objects and reads "PrintClassFactory", "PrinterName" and "PrintJobId". A null
    // argument gives E_POINTER (and RequestShutdown through a manager control already held); the
    // result is that of reading "PrinterName".
    HRESULT InitializeFilter(IInterFilterCommunicator* communicator, IPrintPipelinePropertyBag* propertyBag,
                             IPrintPipelineManagerControl* managerControl) override;
    // From any thread: tells the pipeline once that the filter finished; the running part loop
    // stops at its next part. Always S_OK.
    HRESULT ShutdownOperation() override;

protected:
    CFilterBase();
    // Sends FilterFinished when not sent yet, then lets go of everything in reverse order of
    // acquisition.
    ~CFilterBase() override;

    // Opens the ticket store on the user's default ticket ("PerUserPrintTicket") for the printer.
    // E_PENDING before InitializeFilter.
    virtual HRESULT PrepareJobTicket();

    // Sets `finished` and sends FilterFinished, both only the first time, from whichever thread
    // gets there first.
    void MarkFinished();
    // RequestShutdown(reason) when a manager control is held.
    void RequestShutdown(HRESULT reason);

    // Asks the communicator for the reader and the writer, each as the interface this filter needs.
    // E_PENDING before InitializeFilter, the pipeline's failure as it came, E_NOINTERFACE when one
    // of them does not answer its interface; on any failure both stay null.
    template <class Reader, class Writer>
    HRESULT RequestReaderWriter(ComPtr<Reader>* reader, ComPtr<Writer>* writer)
    {
        *reader = nullptr;
        *writer = nullptr;
        if (!communicator)
            return ResultNotAvailable;
        ComPtr<IUnknown> readerObject;
        ComPtr<IUnknown> writerObject;
        HRESULT hr = communicator->RequestReader(readerObject.PutVoid());
        if (SUCCEEDED(hr))
            hr = communicator->RequestWriter(writerObject.PutVoid());
        if (FAILED(hr))
            return hr;
        if (FAILED(QueryTo(readerObject.Get(), reader)) || FAILED(QueryTo(writerObject.Get(), writer))) {
            *reader = nullptr;
            *writer = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }

    ComPtr<IInterFilterCommunicator> communicator;
    ComPtr<IPrintPipelineManagerControl> managerControl;
    ComPtr<IPrintPipelinePropertyBag> propertyBag;
    CPrintTicketStore ticketStore;
    // Set once FilterFinished was sent; written by ShutdownOperation's thread, read by the loop.
    std::atomic<std::int32_t> finished{0};
    std::string privateNamespace;
    ComPtr<IPrintClassObjectFactory> classFactory;  // may be null
    std::string printerName;                        // empty when the pipeline gave none
    std::uint32_t jobId = 0;
};
