#include "tests/support/TestManagerControl.h"

#include <chrono>

HRESULT CTestManagerControl::RequestShutdown(HRESULT reason, IUnknown*)
{
    std::lock_guard guard(lock);
    shutdownRequests.push_back(reason);
    return S_OK;
}

HRESULT CTestManagerControl::FilterFinished()
{
    {
        std::lock_guard guard(lock);
        ++finishedCount;
    }
    changed.notify_all();
    return S_OK;
}

std::vector<HRESULT> CTestManagerControl::ShutdownRequests()
{
    std::lock_guard guard(lock);
    return shutdownRequests;
}

int CTestManagerControl::FinishedCount()
{
    std::lock_guard guard(lock);
    return finishedCount;
}

bool CTestManagerControl::WaitForFinished()
{
    std::unique_lock guard(lock);
    return changed.wait_for(guard, std::chrono::minutes(1), [&] { return finishedCount > 0; });
}
