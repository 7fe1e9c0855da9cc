#pragma once
// The part loop: StartOperation pulls every part of the job from the previous filter and hands it
// to the hook of its kind; the hooks send parts on to the next filter. The default hooks pass
// every part on unchanged, keeping the job and document tickets up to date.
#include <cstdint>

#include "framework/FilterBase.h"
#include "framework/GdiplusSession.h"

class CPartLoopFilter : public CFilterBase {
public:
    // Runs the job on the calling thread: connects reader and writer, prepares the job's tickets and
    // dispatches each part until the provider has no more, a hook fails or the filter was shut
    // down. A failure (unless shut down) is sent with RequestShutdown; an aborted job answers S_OK.
    // FilterFinished is sent once in every case.
    HRESULT StartOperation() override;

protected:
    CPartLoopFilter();
    // Shuts the graphics session down, then drops consumer and provider.
    ~CPartLoopFilter() override;

    // Hooks, called on the StartOperation thread; a null part gives E_POINTER, a failure ends the job.
    virtual HRESULT OnFixedPage(IFixedPage* page);
    // Updates the document ticket, then sends the document.
    virtual HRESULT OnFixedDocument(IFixedDocument* document);
    // Updates the job ticket, then sends the sequence.
    virtual HRESULT OnFixedDocumentSequence(IFixedDocumentSequence* sequence);
    virtual HRESULT OnXpsDocument(IXpsDocument* document);
    // After the last part, also after a shutdown; before CloseSender.
    virtual HRESULT OnEndOfParts();
    // Obtains provider and consumer from the communicator. E_PENDING before InitializeFilter; E_FAIL
    // (and RequestShutdown) when they do not answer the reader and writer interfaces.
    virtual HRESULT ConnectReaderWriter();

    ComPtr<IXpsDocumentProvider> provider;
    ComPtr<IXpsDocumentConsumer> consumer;
    std::int32_t pagesInDocument = 0;  // FixedPage parts since the last FixedDocument part
    std::int32_t documentCount = 0;    // FixedDocument parts in the job
    std::int32_t pagesInJob = 0;       // FixedPage parts in the job
    CGdiplusSession gdiplusSession;
    // 1 when the graphics session started; at 0 the hooks are skipped and every part is passed on.
    std::int32_t gdiplusReady = 0;

private:
    HRESULT RunPartLoop();
    HRESULT DispatchPart(IUnknown* part);
};
