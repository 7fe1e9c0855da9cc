#include "host/runner/QueueProvider.h"

ComPtr<IXpsDocumentProvider> CQueueProvider::Create(std::shared_ptr<CPartQueue> queue)
{
    ComPtr<IXpsDocumentProvider> provider;
    provider.Attach(new CQueueProvider(std::move(queue)));
    return provider;
}

HRESULT CQueueProvider::GetXpsPart(IUnknown** part) { return queue_->Pop(part); }
