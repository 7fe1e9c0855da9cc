#pragma once
// What the host tells the filters about a job before it runs: the property bag and the spooler view.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/runner/PropertyBag.h"

struct JobDescription {
    std::uint32_t jobId = 1;
    std::string printerName;
    std::string documentName;   // the input file's name
    std::string userName;       // the login user
    std::string userTicketXml;  // the per-user ticket: the printer's default or the user's file
    std::string driverDirectory;
    // Further properties, NAME=VALUE: an integer value becomes a 32-bit integer, any other a string.
    std::vector<std::pair<std::string, std::string>> extraProperties;
};

// "PrinterName", "PrintJobId", "PerUserPrintTicket" and the extra properties. E_INVALIDARG with
// *error for an extra property without a name.
HRESULT FillPropertyBag(const JobDescription& job, IPrintPipelinePropertyBag* bag, std::string* error);

// Publishes the printer, the driver directory and the job (submitted now, status printing) in
// the spooler view.
void PublishJob(const JobDescription& job);

// The user running the program: the login name, else the account name, else "unknown".
std::string LoginUserName();
