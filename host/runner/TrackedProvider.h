#pragma once
// A filter's reader as the runner watches it: passes every call on and notes how far the filter
// got (pages taken, the last part's name, whether it reached the end of the job), so that a
// failure can name the part at fault and a filter that stops early is noticed.
#include <cstdint>
#include <mutex>
#include <string>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

struct InputProgress {
    std::uint64_t pages = 0;   // FixedPage parts taken
    std::string lastPart;      // name of the last part taken; empty before the first
    bool reachedEnd = false;   // the end of the job was handed out
};

class CTrackedProvider final : public CComBase<IXpsDocumentProvider> {
public:
    static ComPtr<CTrackedProvider> Create(IXpsDocumentProvider* source);

    HRESULT GetXpsPart(IUnknown** part) override;

    // Safe from any thread while the filter runs.
    InputProgress Progress();

private:
    explicit CTrackedProvider(IXpsDocumentProvider* source) : source_(source) {}

    ComPtr<IXpsDocumentProvider> source_;
    std::mutex lock_;
    InputProgress progress_;
};

// The name of a part of any kind; empty when it has none.
std::string PartName(IUnknown* part);
