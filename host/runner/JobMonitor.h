#pragma once
// What the runner learns while a job runs, from the filters' threads and the signal watcher:
// shutdown requests, finished filters, returned threads and a user's interrupt. The runner waits
// on it for the next change.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/com/Hresult.h"

struct FilterState {
    bool finished = false;          // FilterFinished was sent
    bool returned = false;          // StartOperation came back
    HRESULT startResult = S_OK;     // what StartOperation returned
    std::optional<HRESULT> shutdownReason;  // the first RequestShutdown of this filter
};

struct ShutdownRequest {
    std::size_t filter = 0;
    HRESULT reason = S_OK;
};

struct JobEvents {
    std::vector<FilterState> filters;
    std::optional<ShutdownRequest> firstShutdown;  // the earliest request of any filter
    int interruptSignal = 0;        // the signal that interrupted the job, 0 for none
    std::uint64_t changes = 0;      // grows with every event
};

class CJobMonitor {
public:
    // Sets the number of filters watched, before their threads start; an interrupt already
    // received stays.
    void Watch(std::size_t filterCount);

    void ShutdownRequested(std::size_t filter, HRESULT reason);
    void FilterFinished(std::size_t filter);
    void FilterReturned(std::size_t filter, HRESULT result);
    // The user interrupted the job (SIGINT, SIGTERM); the first signal counts.
    void Interrupt(int signal);

    // A copy of the state once it differs from the changes count seen, or after timeout.
    JobEvents WaitForChange(std::uint64_t seen, std::chrono::milliseconds timeout);
    JobEvents Snapshot();

private:
    std::mutex lock_;
    std::condition_variable changed_;
    JobEvents events_;
};
