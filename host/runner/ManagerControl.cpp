#include "host/runner/ManagerControl.h"

ComPtr<IPrintPipelineManagerControl> CManagerControl::Create(std::shared_ptr<CJobMonitor> monitor, std::size_t filter)
{
    ComPtr<IPrintPipelineManagerControl> control;
    control.Attach(new CManagerControl(std::move(monitor), filter));
    return control;
}

HRESULT CManagerControl::RequestShutdown(HRESULT reason, IUnknown*)
{
    monitor_->ShutdownRequested(filter_, reason);
    return S_OK;
}

HRESULT CManagerControl::FilterFinished()
{
    monitor_->FilterFinished(filter_);
    return S_OK;
}
