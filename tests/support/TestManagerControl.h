#pragma once
// The pipeline's manager control: records RequestShutdown and FilterFinished from any thread, and
// lets a test wait for FilterFinished.
#include <condition_variable>
#include <mutex>
#include <vector>

#include "framework/ComBase.h"
#include "platform/pipeline/PipelineFilter.h"

class CTestManagerControl final : public CComBase<IPrintPipelineManagerControl> {
public:
    HRESULT RequestShutdown(HRESULT reason, IUnknown* errorInfo) override;
    HRESULT FilterFinished() override;

    std::vector<HRESULT> ShutdownRequests();
    int FinishedCount();
    // Blocks until FilterFinished came; false when it did not come within a minute (a hung filter).
    bool WaitForFinished();

private:
    std::mutex lock;
    std::condition_variable changed;
    std::vector<HRESULT> shutdownRequests;
    int finishedCount = 0;
};
