#include "host/runner/PipelineRunner.h"

#include <optional>

#include "host/runner/FilterChain.h"
#include "platform/spooler/Spooler.h"

namespace {

constexpr std::chrono::milliseconds kProgressInterval(250);

std::string Describe(const CFilterChain& chain, std::size_t filter, HRESULT reason)
{
    const std::string part = chain.InputOf(filter).lastPart;
    return chain.NameOf(filter) + " failed" + (part.empty() ? "" : " on " + part) + ": " + FormatHresult(reason);
}

// The first sign that the job cannot go through, as the message for the user; nullopt while all is well.
std::optional<std::string> FindFault(const JobEvents& events, const CFilterChain& chain)
{
    if (events.firstShutdown)
        return Describe(chain, events.firstShutdown->filter, events.firstShutdown->reason);
    for (std::size_t i = 0; i < events.filters.size(); ++i) {
        const FilterState& state = events.filters[i];
        if (!state.returned)
            continue;
        if (FAILED(state.startResult))
            return Describe(chain, i, state.startResult);
        // A filter that ends without taking the whole job (the RIP filter reports no failure of
        // its own) would leave the filters before it waiting and the output short.
        const InputProgress input = chain.InputOf(i);
        if (!input.reachedEnd)
            return chain.NameOf(i) + " stopped before the end of the job" +
                   (input.lastPart.empty() ? "" : ", at " + input.lastPart);
        // The next filter would wait for the end of the parts forever.
        if (!chain.LinkClosed(i))
            return chain.NameOf(i) + " ended without closing its output";
    }
    return std::nullopt;
}

bool AllReturned(const JobEvents& events)
{
    for (const FilterState& state : events.filters) {
        if (!state.returned)
            return false;
    }
    return true;
}

JobOutcome Failed(std::string message)
{
    JobOutcome outcome;
    outcome.status = JobStatus::kFailed;
    outcome.message = std::move(message);
    return outcome;
}

JobOutcome Interrupted(int signal)
{
    JobOutcome outcome;
    outcome.status = JobStatus::kInterrupted;
    outcome.signal = signal;
    outcome.message = "the job was interrupted";
    return outcome;
}

} // namespace

CPipelineRunner::CPipelineRunner() : monitor_(std::make_shared<CJobMonitor>()) {}

void CPipelineRunner::Interrupt(int signal) { monitor_->Interrupt(signal); }

JobOutcome CPipelineRunner::Run(const JobRequest& request, const std::function<void(std::uint64_t)>& progress)
{
    monitor_->Watch(request.pipeline.filters.size());
    CFilterChain chain(monitor_);
    std::string error;
    const bool loaded = chain.Load(request, &error);
    if (const int signal = monitor_->Snapshot().interruptSignal)
        return Interrupted(signal);
    if (!loaded)
        return Failed(error);
    if (!chain.Start(&error)) {
        chain.Stop();
        chain.Join();
        return Failed(error);
    }

    std::optional<std::string> fault;
    bool stopped = false;
    JobEvents events;
    for (;;) {
        events = monitor_->WaitForChange(events.changes, kProgressInterval);
        if (progress)
            progress(chain.InputOf(chain.Size() - 1).pages);
        if (!stopped) {
            if (events.interruptSignal)
                SpoolerSetJobStatus(request.jobId, JOB_STATUS_DELETING);
            else
                fault = FindFault(events, chain);
            if (events.interruptSignal || fault) {
                stopped = true;
                chain.Stop();
            }
        }
        if (AllReturned(events))
            break;
    }
    chain.Join();
    events = monitor_->Snapshot();

    if (events.interruptSignal)
        return Interrupted(events.interruptSignal);
    // The package reader's account names the part at fault; the filters only pass its result on.
    if (const PackageError e = chain.ReaderError(); e.Failed())
        return Failed(e.Text());
    if (const PackageError e = chain.WriterError(); e.Failed())
        return Failed(e.Text());
    if (fault)
        return Failed(*fault);
    for (std::size_t i = 0; i < events.filters.size(); ++i) {
        if (!events.filters[i].finished)
            return Failed(chain.NameOf(i) + " did not report that it finished");
    }
    if (std::string outputFault = chain.OutputFault(); !outputFault.empty())
        return Failed(std::move(outputFault));

    JobOutcome outcome;
    outcome.status = JobStatus::kDone;
    outcome.pages = chain.InputOf(chain.Size() - 1).pages;
    return outcome;
}
