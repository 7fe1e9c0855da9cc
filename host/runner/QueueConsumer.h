#pragma once
// The sending side of a link: a filter sends its parts here for the next filter, waiting while
// the link is full.
#include <memory>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "host/runner/PartQueue.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CQueueConsumer final : public CComBase<IXpsDocumentConsumer> {
public:
    static ComPtr<IXpsDocumentConsumer> Create(std::shared_ptr<CPartQueue> queue);

    // Each Send queues the part as it is; E_POINTER for a null part, kQueueCancelled once aborted.
    HRESULT SendXpsUnknown(IUnknown* part) override;
    HRESULT SendXpsDocument(IXpsDocument* document) override;
    HRESULT SendFixedDocumentSequence(IFixedDocumentSequence* sequence) override;
    HRESULT SendFixedDocument(IFixedDocument* document) override;
    HRESULT SendFixedPage(IFixedPage* page) override;
    HRESULT CloseSender() override;
    // A new part made in memory (CreateEmptyPart); it joins the job when sent or set on a page.
    HRESULT GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream) override;

private:
    explicit CQueueConsumer(std::shared_ptr<CPartQueue> queue) : queue_(std::move(queue)) {}

    std::shared_ptr<CPartQueue> queue_;
};
