// The PrintTicket provider's exported operations: argument checks, stream transfers and error
// messages around the merger, the capabilities builder and the device mode builder.
#include "platform/printticket/PrintTicketProvider.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/printticket/DevModeBuilder.h"
#include "platform/printticket/PrintCapabilitiesBuilder.h"
#include "platform/printticket/PrinterRegistry.h"
#include "platform/printticket/TicketMerger.h"
#include "platform/printticket/TicketReader.h"
#include "platform/printticket/TicketStreams.h"
#include "platform/printticket/TicketWriter.h"

using namespace printschema;

struct PrintTicketProvider {
    std::shared_ptr<const PrinterDescription> printer;
};

namespace {

constexpr std::size_t kMaxDescriptionSize = 16u << 20;

// Runs an operation that reports failures through a message; allocation failure is E_OUTOFMEMORY.
template <class Body>
HRESULT WithMessage(BSTR* errorMessage, Body&& body) noexcept
{
    if (errorMessage)
        *errorMessage = nullptr;
    std::string message;
    HRESULT hr;
    try {
        hr = body(&message);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
        message = "out of memory";
    } catch (...) {
        hr = E_FAIL;
        message = "unexpected failure";
    }
    if (FAILED(hr) && errorMessage)
        *errorMessage = BstrFromUtf8(message.empty() ? FormatHresult(hr) : message);
    return hr;
}

// Reads a whole PrintTicket from stream; role names it in messages ("the delta ticket").
HRESULT ReadTicket(IStream* stream, const char* role, PsNode* ticket, std::string* message)
{
    std::string text;
    std::string error;
    HRESULT hr = ReadStreamText(stream, &text, &error);
    if (SUCCEEDED(hr))
        hr = ReadPrintSchemaDocument(text, "PrintTicket", ticket, &error);
    if (FAILED(hr))
        *message = std::string(role) + " is not a valid PrintTicket: " + error;
    return hr;
}

bool ValidScope(EPrintTicketScope scope) { return scope == kPTPageScope || scope == kPTDocumentScope || scope == kPTJobScope; }

// The complete ticket of provider's printer for a ticket that may be partial.
HRESULT CompleteTicket(const PrintTicketProvider& provider, IStream* stream, EPrintTicketScope scope, PsNode* ticket,
                       std::string* message)
{
    PsNode given;
    const HRESULT hr = ReadTicket(stream, "the ticket", &given, message);
    if (FAILED(hr))
        return hr;
    const CTicketMerger merger(*provider.printer, scope);
    *ticket = merger.Merge(merger.DefaultTicket(), given);
    return S_OK;
}

HRESULT Register(const std::string& text, const std::string& source, std::string* printerName, std::string* errorMessage)
{
    std::string error;
    auto printer = ReadPrinterDescription(text, &error);
    if (!printer) {
        if (errorMessage)
            *errorMessage = source + ": " + error;
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    if (printerName)
        *printerName = printer->name;
    CPrinterRegistry::Instance().Register(std::move(printer));
    return S_OK;
}

} // namespace

HRESULT PTRegisterPrinterDescriptionXml(const std::string& xml, std::string* printerName, std::string* errorMessage)
{
    try {
        return Register(xml, "printer description", printerName, errorMessage);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT PTRegisterPrinterDescription(const std::string& path, std::string* printerName, std::string* errorMessage)
{
    try {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream content;
        if (file)
            content << file.rdbuf();
        if (!file || file.bad()) {
            if (errorMessage)
                *errorMessage = "the printer description \"" + path + "\" cannot be read: " + std::strerror(errno);
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        }
        if (content.str().size() > kMaxDescriptionSize) {
            if (errorMessage)
                *errorMessage = "the printer description \"" + path + "\" is larger than 16 MiB";
            return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
        }
        return Register(content.str(), "the printer description \"" + path + "\"", printerName, errorMessage);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT PTGetDefaultPrintTicket(const std::string& printerName, std::string* ticketXml)
{
    if (!ticketXml)
        return E_POINTER;
    try {
        const auto printer = CPrinterRegistry::Instance().Find(printerName);
        if (!printer)
            return HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME);
        *ticketXml = WritePrintSchemaDocument(CTicketMerger(*printer, kPTJobScope).DefaultTicket());
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT PTOpenProvider(const char* printerName, std::uint32_t version, HPTPROVIDER* provider)
{
    if (!printerName || !provider)
        return E_POINTER;
    *provider = nullptr;
    if (version != 1)
        return E_INVALIDARG;
    try {
        auto printer = CPrinterRegistry::Instance().Find(printerName);
        if (!printer)
            return HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME);
        *provider = new PrintTicketProvider{std::move(printer)};
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT PTCloseProvider(HPTPROVIDER provider)
{
    if (!provider)
        return E_INVALIDARG;
    delete provider;
    return S_OK;
}

HRESULT PTMergeAndValidatePrintTicket(HPTPROVIDER provider, IStream* base, IStream* delta, EPrintTicketScope scope,
                                      IStream* result, BSTR* errorMessage)
{
    return WithMessage(errorMessage, [&](std::string* message) -> HRESULT {
        if (!provider || !ValidScope(scope)) {
            *message = provider ? "the scope is not page, document or job" : "no provider";
            return E_INVALIDARG;
        }
        if (!base || !result) {
            *message = "the base ticket and the result stream are required";
            return E_POINTER;
        }
        PsNode baseTicket;
        PsNode deltaTicket = PsNode::Make(PsKind::kRoot, Framework("PrintTicket"));
        HRESULT hr = ReadTicket(base, "the base ticket", &baseTicket, message);
        if (SUCCEEDED(hr) && delta)
            hr = ReadTicket(delta, "the delta ticket", &deltaTicket, message);
        if (FAILED(hr))
            return hr;
        const PsNode merged = CTicketMerger(*provider->printer, scope).Merge(baseTicket, deltaTicket);
        hr = WriteStreamText(result, WritePrintSchemaDocument(merged));
        if (FAILED(hr))
            *message = "the merged ticket could not be written: " + FormatHresult(hr);
        return hr;
    });
}

HRESULT PTGetPrintCapabilities(HPTPROVIDER provider, IStream* ticket, IStream* capabilities, BSTR* errorMessage)
{
    return WithMessage(errorMessage, [&](std::string* message) -> HRESULT {
        if (!provider) {
            *message = "no provider";
            return E_INVALIDARG;
        }
        if (!capabilities) {
            *message = "the capabilities stream is required";
            return E_POINTER;
        }
        PsNode complete;
        if (ticket) {
            const HRESULT hr = CompleteTicket(*provider, ticket, kPTJobScope, &complete, message);
            if (FAILED(hr))
                return hr;
        } else {
            complete = CTicketMerger(*provider->printer, kPTJobScope).DefaultTicket();
        }
        const HRESULT hr =
            WriteStreamText(capabilities, WritePrintSchemaDocument(BuildPrintCapabilities(*provider->printer, complete)));
        if (FAILED(hr))
            *message = "the capabilities could not be written: " + FormatHresult(hr);
        return hr;
    });
}

HRESULT PTConvertPrintTicketToDevMode(HPTPROVIDER provider, IStream* ticket, EDefaultDevmodeType baseType,
                                      EPrintTicketScope scope, std::uint32_t* size, DEVMODE** devmode, BSTR* errorMessage)
{
    if (devmode)
        *devmode = nullptr;
    if (size)
        *size = 0;
    return WithMessage(errorMessage, [&](std::string* message) -> HRESULT {
        if (!provider || !ValidScope(scope) || (baseType != kUserDefaultDevmode && baseType != kPrinterDefaultDevmode)) {
            *message = "no provider, or an unknown scope or default type";
            return E_INVALIDARG;
        }
        if (!ticket || !size || !devmode) {
            *message = "the ticket and both results are required";
            return E_POINTER;
        }
        // The user's and the printer's defaults are the same here: the printer's default ticket.
        PsNode complete;
        HRESULT hr = CompleteTicket(*provider, ticket, scope, &complete, message);
        std::vector<std::uint8_t> bytes;
        if (SUCCEEDED(hr))
            hr = BuildDevMode(*provider->printer, complete, &bytes, message);
        if (FAILED(hr))
            return hr;
        void* buffer = std::malloc(bytes.size());
        if (!buffer)
            throw std::bad_alloc();
        std::memcpy(buffer, bytes.data(), bytes.size());
        *devmode = static_cast<DEVMODE*>(buffer);
        *size = static_cast<std::uint32_t>(bytes.size());
        return S_OK;
    });
}

HRESULT PTReleaseMemory(void* buffer)
{
    std::free(buffer);
    return S_OK;
}
