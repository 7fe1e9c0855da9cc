#pragma once
// One filter's line back to the runner: its shutdown requests and its end.
#include <cstddef>
#include <memory>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "host/runner/JobMonitor.h"
#include "platform/pipeline/PipelineFilter.h"

class CManagerControl final : public CComBase<IPrintPipelineManagerControl> {
public:
    static ComPtr<IPrintPipelineManagerControl> Create(std::shared_ptr<CJobMonitor> monitor, std::size_t filter);

    HRESULT RequestShutdown(HRESULT reason, IUnknown* errorInfo) override;
    HRESULT FilterFinished() override;

private:
    CManagerControl(std::shared_ptr<CJobMonitor> monitor, std::size_t filter) : monitor_(std::move(monitor)), filter_(filter) {}

    std::shared_ptr<CJobMonitor> monitor_;
    const std::size_t filter_;
};
