#pragma once
// The objects of one running job: the plug-ins and their filters, the package reader, the links
// between the filters and the final writer, and the filters' threads. Destroyed in the order that
// keeps every library loaded until the last object it made is gone.
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/package/PackageError.h"
#include "host/runner/DeviceWriteStream.h"
#include "host/runner/FilterPlugin.h"
#include "host/runner/JobMonitor.h"
#include "host/runner/PartQueue.h"
#include "host/runner/PipelineRunner.h"
#include "host/runner/TrackedConsumer.h"
#include "host/runner/TrackedProvider.h"

class CFilterChain {
public:
    explicit CFilterChain(std::shared_ptr<CJobMonitor> monitor);
    // Stops and joins what still runs.
    ~CFilterChain();
    CFilterChain(const CFilterChain&) = delete;
    CFilterChain& operator=(const CFilterChain&) = delete;

    // Loads the plug-ins, makes their filters, opens the package and the output, links the filters
    // and initialises them; false with a one-line *error.
    bool Load(const JobRequest& request, std::string* error);
    // Runs every filter's StartOperation on a thread of its own.
    bool Start(std::string* error);
    // Shuts every filter down and aborts the links, so that no thread stays blocked.
    void Stop();
    void Join();

    std::size_t Size() const { return entries_.size(); }
    const std::string& NameOf(std::size_t filter) const { return entries_[filter].name; }
    InputProgress InputOf(std::size_t filter) const { return inputs_[filter]->Progress(); }
    // Whether a filter before the last has closed its link to the next; true for the last.
    bool LinkClosed(std::size_t filter) const { return filter >= links_.size() || links_[filter]->Closed(); }

    // The first failure the package reader or writer recorded; empty when none.
    PackageError ReaderError() const;
    PackageError WriterError() const;
    // Once joined: why the output is not complete; empty when it is.
    std::string OutputFault() const;

private:
    std::shared_ptr<CJobMonitor> monitor_;
    std::vector<FilterEntry> entries_;
    std::vector<std::unique_ptr<CFilterPlugin>> plugins_;
    ComPtr<IXpsDocumentProvider> package_;
    ComPtr<IXpsDocumentConsumer> packageWriter_;
    ComPtr<CTrackedConsumer> trackedWriter_;
    ComPtr<CDeviceWriteStream> deviceWriter_;
    std::vector<std::shared_ptr<CPartQueue>> links_;
    std::vector<ComPtr<CTrackedProvider>> inputs_;
    std::vector<ComPtr<IPrintPipelineFilter>> filters_;
    std::vector<std::thread> threads_;
};
