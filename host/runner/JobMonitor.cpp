#include "host/runner/JobMonitor.h"

void CJobMonitor::Watch(std::size_t filterCount)
{
    std::lock_guard guard(lock_);
    events_.filters.assign(filterCount, FilterState{});
    events_.firstShutdown.reset();
}

void CJobMonitor::ShutdownRequested(std::size_t filter, HRESULT reason)
{
    std::lock_guard guard(lock_);
    if (filter >= events_.filters.size())
        return;
    FilterState& state = events_.filters[filter];
    if (!state.shutdownReason)
        state.shutdownReason = reason;
    if (!events_.firstShutdown)
        events_.firstShutdown = ShutdownRequest{filter, reason};
    ++events_.changes;
    changed_.notify_all();
}

void CJobMonitor::FilterFinished(std::size_t filter)
{
    std::lock_guard guard(lock_);
    if (filter >= events_.filters.size())
        return;
    FilterState& state = events_.filters[filter];
    state.finished = true;
    ++events_.changes;
    changed_.notify_all();
}

void CJobMonitor::FilterReturned(std::size_t filter, HRESULT result)
{
    std::lock_guard guard(lock_);
    if (filter >= events_.filters.size())
        return;
    FilterState& state = events_.filters[filter];
    state.returned = true;
    state.startResult = result;
    ++events_.changes;
    changed_.notify_all();
}

void CJobMonitor::Interrupt(int signal)
{
    std::lock_guard guard(lock_);
    if (events_.interruptSignal == 0)
        events_.interruptSignal = signal;
    ++events_.changes;
    changed_.notify_all();
}

JobEvents CJobMonitor::WaitForChange(std::uint64_t seen, std::chrono::milliseconds timeout)
{
    std::unique_lock guard(lock_);
    changed_.wait_for(guard, timeout, [&] { return events_.changes != seen; });
    return events_;
}

JobEvents CJobMonitor::Snapshot()
{
    std::lock_guard guard(lock_);
    return events_;
}
