#include "platform/spooler/Spooler.h"

#include <map>
#include <mutex>
#include <set>

// What an open printer handle points at: the name it was opened with.
struct SpoolerPrinter {
    std::string name;
};

namespace {
// The process-wide spooler view; the host writes it from its thread, the filters read it from theirs.
struct SpoolerState {
    std::mutex lock;
    std::map<std::uint32_t, JobInfo> jobs;
    std::set<std::string> printers;
    std::string driverDirectory;
};

SpoolerState& State()
{
    static SpoolerState state;
    return state;
}
} // namespace

void SpoolerAddJob(const JobInfo& job)
{
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    s.jobs[job.jobId] = job;
}

void SpoolerSetJobStatus(std::uint32_t jobId, std::uint32_t status)
{
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    if (auto it = s.jobs.find(jobId); it != s.jobs.end())
        it->second.status = status;
}

void SpoolerRemoveJob(std::uint32_t jobId)
{
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    s.jobs.erase(jobId);
}

void SpoolerAddPrinter(const std::string& printerName)
{
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    s.printers.insert(printerName);
}

void SpoolerSetPrinterDriverDirectory(const std::string& directory)
{
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    s.driverDirectory = directory;
}

HRESULT OpenPrinterW(const std::string& printerName, HPRINTER* printer)
{
    if (!printer)
        return E_POINTER;
    *printer = nullptr;
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    if (!s.printers.contains(printerName))
        return HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME);
    *printer = new SpoolerPrinter{printerName};
    return S_OK;
}

void ClosePrinter(HPRINTER printer) { delete printer; }

HRESULT GetJobW(HPRINTER printer, std::uint32_t jobId, JobInfo* job)
{
    if (!printer || !job)
        return E_POINTER;
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    const auto it = s.jobs.find(jobId);
    // A job queued on another printer is not this printer's job.
    if (it == s.jobs.end() || it->second.printerName != printer->name)
        return ResultNotFound;
    *job = it->second;
    return S_OK;
}

std::string GetPrinterDriverDirectoryW()
{
    SpoolerState& s = State();
    std::lock_guard guard(s.lock);
    return s.driverDirectory;
}
