#pragma once
// The receiving side of a link: the next filter pulls its parts here.
#include <memory>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "host/runner/PartQueue.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CQueueProvider final : public CComBase<IXpsDocumentProvider> {
public:
    static ComPtr<IXpsDocumentProvider> Create(std::shared_ptr<CPartQueue> queue);

    // Waits for the next part; success with *part null at the end, kQueueCancelled once aborted.
    HRESULT GetXpsPart(IUnknown** part) override;

private:
    explicit CQueueProvider(std::shared_ptr<CPartQueue> queue) : queue_(std::move(queue)) {}

    std::shared_ptr<CPartQueue> queue_;
};
