#pragma once
// Runs one job through a chain of filter plug-ins: loads them, links them with bounded queues
// (the package reader before the first, the package writer or the device data file after the
// last), runs each StartOperation on a thread of its own, ends the job on a filter's shutdown
// request or a user's interrupt, and tells whether the job went through.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/runner/JobMonitor.h"
#include "host/runner/PipelineConfig.h"
#include "platform/pipeline/PipelineFilter.h"

struct JobRequest {
    PipelineConfig pipeline;      // the filters to run, in order
    std::string pluginDirectory;  // where their libraries are
    std::string inputPath;        // the XPS package of the job
    // Where the output goes: the package writer writes the file at outputPath; device data is
    // written to outputFd.
    std::string outputPath;
    int outputFd = -1;
    std::uint32_t jobId = 1;      // the spooler's job, marked as deleting on an interrupt
    IPrintPipelinePropertyBag* properties = nullptr;
    std::size_t linkCapacity = 16;  // parts a link holds before its sender waits
};

enum class JobStatus { kDone, kFailed, kInterrupted };

struct JobOutcome {
    JobStatus status = JobStatus::kFailed;
    int signal = 0;               // the interrupting signal
    std::string message;          // one line naming the part or filter at fault; empty when done
    std::uint64_t pages = 0;      // pages the last filter took
};

class CPipelineRunner {
public:
    CPipelineRunner();

    // Runs the job to its end. progress is called now and then from the calling thread with
    // the pages the last filter has taken so far.
    JobOutcome Run(const JobRequest& request, const std::function<void(std::uint64_t)>& progress = {});
    // Ends the running (or next) job as interrupted; safe from any thread.
    void Interrupt(int signal);

private:
    std::shared_ptr<CJobMonitor> monitor_;
};
