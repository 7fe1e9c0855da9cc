#pragma once
// The last filter's writer when it is the package writer: passes every call on and notes whether
// the filter closed it, and with what result, since the package is complete only then.
#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CTrackedConsumer final : public CComBase<IXpsDocumentConsumer> {
public:
    static ComPtr<CTrackedConsumer> Create(IXpsDocumentConsumer* target);

    HRESULT SendXpsUnknown(IUnknown* part) override { return target_->SendXpsUnknown(part); }
    HRESULT SendXpsDocument(IXpsDocument* document) override { return target_->SendXpsDocument(document); }
    HRESULT SendFixedDocumentSequence(IFixedDocumentSequence* sequence) override
    {
        return target_->SendFixedDocumentSequence(sequence);
    }
    HRESULT SendFixedDocument(IFixedDocument* document) override { return target_->SendFixedDocument(document); }
    HRESULT SendFixedPage(IFixedPage* page) override { return target_->SendFixedPage(page); }
    HRESULT CloseSender() override;
    HRESULT GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream) override
    {
        return target_->GetNewEmptyPart(uri, iid, part, stream);
    }

    // Read once the filter's thread has been joined.
    bool Closed() const { return closed_; }
    HRESULT CloseResult() const { return closeResult_; }

private:
    explicit CTrackedConsumer(IXpsDocumentConsumer* target) : target_(target) {}

    ComPtr<IXpsDocumentConsumer> target_;
    bool closed_ = false;
    HRESULT closeResult_ = S_OK;
};
