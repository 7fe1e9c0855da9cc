#include "host/runner/TrackedConsumer.h"

ComPtr<CTrackedConsumer> CTrackedConsumer::Create(IXpsDocumentConsumer* target)
{
    ComPtr<CTrackedConsumer> consumer;
    consumer.Attach(new CTrackedConsumer(target));
    return consumer;
}

HRESULT CTrackedConsumer::CloseSender()
{
    closeResult_ = target_->CloseSender();
    closed_ = true;
    return closeResult_;
}
