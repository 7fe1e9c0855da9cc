#include "host/runner/QueueConsumer.h"

#include "host/package/PartFactory.h"

ComPtr<IXpsDocumentConsumer> CQueueConsumer::Create(std::shared_ptr<CPartQueue> queue)
{
    ComPtr<IXpsDocumentConsumer> consumer;
    consumer.Attach(new CQueueConsumer(std::move(queue)));
    return consumer;
}

HRESULT CQueueConsumer::SendXpsUnknown(IUnknown* part) { return queue_->Push(part); }
HRESULT CQueueConsumer::SendXpsDocument(IXpsDocument* document) { return queue_->Push(document); }
HRESULT CQueueConsumer::SendFixedDocumentSequence(IFixedDocumentSequence* sequence) { return queue_->Push(sequence); }
HRESULT CQueueConsumer::SendFixedDocument(IFixedDocument* document) { return queue_->Push(document); }
HRESULT CQueueConsumer::SendFixedPage(IFixedPage* page) { return queue_->Push(page); }
HRESULT CQueueConsumer::CloseSender() { return queue_->Close(); }

HRESULT CQueueConsumer::GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream)
{
    return CreateEmptyPart(uri, iid, part, stream);
}
