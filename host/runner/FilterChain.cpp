#include "host/runner/FilterChain.h"

#include "host/package/PackageReader.h"
#include "host/package/PackageWriter.h"
#include "host/runner/InterFilterCommunicator.h"
#include "host/runner/ManagerControl.h"
#include "host/runner/QueueConsumer.h"
#include "host/runner/QueueProvider.h"

CFilterChain::CFilterChain(std::shared_ptr<CJobMonitor> monitor) : monitor_(std::move(monitor)) {}

CFilterChain::~CFilterChain()
{
    if (!threads_.empty()) {
        Stop();
        Join();
    }
    // Filters go before the objects they hold and the plug-ins last, by member order; the filters
    // first of all, since their destructors still talk to the links and the writer.
    filters_.clear();
}

bool CFilterChain::Load(const JobRequest& request, std::string* error)
{
    entries_ = request.pipeline.filters;
    if (entries_.empty()) {
        *error = "the pipeline lists no filter";
        return false;
    }
    for (const FilterEntry& entry : entries_) {
        auto plugin = std::make_unique<CFilterPlugin>();
        ComPtr<IPrintPipelineFilter> filter;
        if (!plugin->Load(entry, request.pluginDirectory, error) || !plugin->CreateFilter(&filter, error))
            return false;
        plugins_.push_back(std::move(plugin));
        filters_.push_back(std::move(filter));
    }

    PackageError packageError;
    if (FAILED(OpenXpsPackage(request.inputPath, &package_, &packageError))) {
        *error = packageError.Failed() ? packageError.Text() : "cannot open the package";
        return false;
    }

    ComPtr<IUnknown> lastWriter;
    if (entries_.back().output == FilterOutput::kDevice) {
        deviceWriter_ = CDeviceWriteStream::Create(request.outputFd);
        lastWriter = deviceWriter_.Get();
    } else {
        if (FAILED(CreateXpsPackageWriter(request.outputPath, &packageWriter_, &packageError))) {
            *error = packageError.Failed() ? packageError.Text() : "cannot create the output package";
            return false;
        }
        trackedWriter_ = CTrackedConsumer::Create(packageWriter_.Get());
        lastWriter = trackedWriter_.Get();
    }

    const std::size_t count = entries_.size();
    for (std::size_t i = 0; i + 1 < count; ++i)
        links_.push_back(std::make_shared<CPartQueue>(request.linkCapacity));
    for (std::size_t i = 0; i < count; ++i) {
        ComPtr<IXpsDocumentProvider> source = i == 0 ? package_ : CQueueProvider::Create(links_[i - 1]);
        inputs_.push_back(CTrackedProvider::Create(source.Get()));
        ComPtr<IUnknown> writer = i + 1 == count ? lastWriter : ComPtr<IUnknown>(CQueueConsumer::Create(links_[i]).Get());
        const auto communicator = CInterFilterCommunicator::Create(inputs_[i].Get(), writer.Get());
        const auto control = CManagerControl::Create(monitor_, i);
        const HRESULT hr = filters_[i]->InitializeFilter(communicator.Get(), request.properties, control.Get());
        if (FAILED(hr)) {
            *error = entries_[i].name + " could not be initialised: " + FormatHresult(hr);
            return false;
        }
    }
    return true;
}

bool CFilterChain::Start(std::string* error)
{
    try {
        for (std::size_t i = 0; i < filters_.size(); ++i) {
            threads_.emplace_back([this, i] {
                const HRESULT hr = filters_[i]->StartOperation();
                monitor_->FilterReturned(i, hr);
            });
        }
    } catch (const std::system_error& e) {
        *error = std::string("cannot start the filter threads: ") + e.what();
        return false;
    }
    return true;
}

void CFilterChain::Stop()
{
    for (const auto& filter : filters_)
        filter->ShutdownOperation();
    for (const auto& link : links_)
        link->Abort();
}

void CFilterChain::Join()
{
    for (std::thread& thread : threads_) {
        if (thread.joinable())
            thread.join();
    }
    threads_.clear();
}

PackageError CFilterChain::ReaderError() const { return package_ ? LastPackageError(package_.Get()) : PackageError{}; }

PackageError CFilterChain::WriterError() const
{
    return packageWriter_ ? LastPackageError(packageWriter_.Get()) : PackageError{};
}

std::string CFilterChain::OutputFault() const
{
    if (deviceWriter_) {
        if (!deviceWriter_->Failure().empty())
            return deviceWriter_->Failure();
        if (!deviceWriter_->Closed())
            return entries_.back().name + " did not close its output";
        return {};
    }
    if (const PackageError e = WriterError(); e.Failed())
        return e.Text();
    if (!trackedWriter_ || !trackedWriter_->Closed())
        return entries_.back().name + " did not close its output";
    if (FAILED(trackedWriter_->CloseResult()))
        return "cannot finish the package: " + FormatHresult(trackedWriter_->CloseResult());
    return {};
}
