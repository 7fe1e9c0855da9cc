#pragma once
// The previous filter, as a test scripts it: a list of parts handed out in order, then the end.
#include <functional>
#include <vector>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

class CTestProvider final : public CComBase<IXpsDocumentProvider> {
public:
    explicit CTestProvider(std::vector<ComPtr<IUnknown>> jobParts = {}) : parts(std::move(jobParts)) {}

    // The next part; success with null after the last. beforePart runs first with the index asked
    // for (parts.size() for the end), on the filter's thread: a test blocks there or fails there.
    HRESULT GetXpsPart(IUnknown** part) override;

    std::vector<ComPtr<IUnknown>> parts;
    std::function<HRESULT(std::size_t index)> beforePart;
    std::size_t handedOut = 0;
};
