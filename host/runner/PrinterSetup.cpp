#include "host/runner/PrinterSetup.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "platform/com/ComPtr.h"
#include "platform/com/Stream.h"
#include "platform/printticket/PrintTicketProvider.h"

namespace {

bool IsFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ReadFile(const std::string& path, std::string* text)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf()))
        return false;
    *text = content.str();
    return true;
}

// Merges delta over base for printerName; the provider's reason on failure.
HRESULT Merge(const std::string& printerName, const std::string& base, const std::string& delta, std::string* merged,
              std::string* reason)
{
    HPTPROVIDER provider = nullptr;
    HRESULT hr = PTOpenProvider(printerName.c_str(), 1, &provider);
    if (FAILED(hr))
        return hr;
    ComPtr<IStream> baseStream, deltaStream, result;
    hr = CreateStreamOnText(base, baseStream.Put());
    if (SUCCEEDED(hr))
        hr = CreateStreamOnText(delta, deltaStream.Put());
    if (SUCCEEDED(hr))
        hr = CreateStreamOnHGlobal(result.Put());
    if (SUCCEEDED(hr)) {
        CBstr message;
        hr = PTMergeAndValidatePrintTicket(provider, baseStream.Get(), deltaStream.Get(), kPTJobScope, result.Get(),
                                           message.Put());
        if (FAILED(hr))
            *reason = message.Utf8();
    }
    if (SUCCEEDED(hr))
        hr = result->Seek(0, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(hr))
        hr = ReadStreamToEnd(result.Get(), merged);
    PTCloseProvider(provider);
    return hr;
}

} // namespace

bool ResolvePrinter(const std::string& nameOrFile, std::string* printerName, std::string* error)
{
    if (nameOrFile.empty()) {
        *printerName = kDefaultPrinterName;
        return true;
    }
    if (IsFile(nameOrFile)) {
        std::string reason;
        if (FAILED(PTRegisterPrinterDescription(nameOrFile, printerName, &reason))) {
            *error = nameOrFile + ": not a usable printer description" + (reason.empty() ? "" : ": " + reason);
            return false;
        }
        return true;
    }
    std::string ticket;
    if (FAILED(PTGetDefaultPrintTicket(nameOrFile, &ticket))) {
        *error = "unknown printer '" + nameOrFile + "' (give a registered name or a printer description file)";
        return false;
    }
    *printerName = nameOrFile;
    return true;
}

bool ResolveUserTicket(const std::string& printerName, const std::string& ticketPath, std::string* ticketXml,
                       std::string* error)
{
    std::string defaultTicket;
    const HRESULT hr = PTGetDefaultPrintTicket(printerName, &defaultTicket);
    if (FAILED(hr)) {
        *error = "printer '" + printerName + "' has no default ticket: " + FormatHresult(hr);
        return false;
    }
    if (ticketPath.empty()) {
        *ticketXml = std::move(defaultTicket);
        return true;
    }
    std::string userTicket;
    if (!ReadFile(ticketPath, &userTicket)) {
        *error = ticketPath + ": cannot read the ticket file";
        return false;
    }
    std::string reason;
    const HRESULT merged = Merge(printerName, defaultTicket, userTicket, ticketXml, &reason);
    if (FAILED(merged)) {
        *error = ticketPath + ": not a usable PrintTicket: " + (reason.empty() ? FormatHresult(merged) : reason);
        return false;
    }
    return true;
}
