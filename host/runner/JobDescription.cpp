#include "host/runner/JobDescription.h"

#include <charconv>
#include <ctime>
#include <pwd.h>
#include <unistd.h>

#include "host/runner/TicketStreamFactory.h"
#include "platform/spooler/Spooler.h"

namespace {

HRESULT AddString(IPrintPipelinePropertyBag* bag, const std::string& name, const std::string& value)
{
    CVariant v;
    v.vt = VT_BSTR;
    v.bstrVal = BstrFromUtf8(value);
    if (!v.bstrVal)
        return E_OUTOFMEMORY;
    return bag->AddProperty(name.c_str(), &v);
}

HRESULT AddInteger(IPrintPipelinePropertyBag* bag, const std::string& name, std::int32_t value)
{
    CVariant v;
    v.vt = VT_I4;
    v.lVal = value;
    return bag->AddProperty(name.c_str(), &v);
}

HRESULT AddObject(IPrintPipelinePropertyBag* bag, const std::string& name, IUnknown* value)
{
    CVariant v;
    v.vt = VT_UNKNOWN;
    v.punkVal = value;
    value->AddRef();
    return bag->AddProperty(name.c_str(), &v);
}

// A whole decimal number that fits 32 bits; anything else is text.
bool ParseInteger(const std::string& text, std::int32_t* value)
{
    const char* end = text.data() + text.size();
    const auto [last, ec] = std::from_chars(text.data(), end, *value);
    return !text.empty() && ec == std::errc() && last == end;
}

} // namespace

HRESULT FillPropertyBag(const JobDescription& job, IPrintPipelinePropertyBag* bag, std::string* error)
{
    HRESULT hr = AddString(bag, "PrinterName", job.printerName);
    if (SUCCEEDED(hr))
        hr = AddInteger(bag, "PrintJobId", static_cast<std::int32_t>(job.jobId));
    if (SUCCEEDED(hr))
        hr = AddObject(bag, "PerUserPrintTicket", CTicketStreamFactory::Create(job.userTicketXml).Get());
    for (const auto& [name, value] : job.extraProperties) {
        if (FAILED(hr))
            break;
        if (name.empty()) {
            *error = "a property needs a name (NAME=VALUE)";
            return E_INVALIDARG;
        }
        std::int32_t number = 0;
        hr = ParseInteger(value, &number) ? AddInteger(bag, name, number) : AddString(bag, name, value);
    }
    if (FAILED(hr))
        *error = "cannot fill the property bag: " + FormatHresult(hr);
    return hr;
}

void PublishJob(const JobDescription& job)
{
    SpoolerAddPrinter(job.printerName);
    SpoolerSetPrinterDriverDirectory(job.driverDirectory);
    JobInfo info;
    info.jobId = job.jobId;
    info.printerName = job.printerName;
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        info.machineName = host;
    info.userName = job.userName;
    info.document = job.documentName;
    info.status = JOB_STATUS_PRINTING;
    info.submittedUnixSeconds = static_cast<std::int64_t>(std::time(nullptr));
    SpoolerAddJob(info);
}

std::string LoginUserName()
{
    char name[256] = {};
    if (getlogin_r(name, sizeof name) == 0 && name[0])
        return name;
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return "unknown";
}
