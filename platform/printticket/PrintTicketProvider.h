#pragma once
// The PrintTicket provider: merges and validates tickets against a printer, answers its print
// capabilities and turns tickets into device modes. A printer is described by a printer
// description file (docs/printer-description.md); a built-in default printer answers when none is
// registered under the asked name.
#include <cstdint>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/Stream.h"
#include "platform/printticket/DevMode.h"

using HPTPROVIDER = struct PrintTicketProvider*;

enum EPrintTicketScope { kPTPageScope = 0, kPTDocumentScope = 1, kPTJobScope = 2 };
enum EDefaultDevmodeType { kUserDefaultDevmode = 0, kPrinterDefaultDevmode = 1 };

// The private keyword namespace: one URI for the filters, the printer descriptions and the tickets
// of the examples.
inline constexpr char kPrivateKeywordNamespace[] = "http://schemas.xpschain.org/printing/2026/keywords";

// The name of the built-in printer.
inline constexpr char kDefaultPrinterName[] = "xpschain Default Printer";

// Registers a printer description file under the printer name it declares; *printerName
// (optional) receives that name. Fails with a message for a file that does not parse or describe.
HRESULT PTRegisterPrinterDescription(const std::string& path, std::string* printerName, std::string* errorMessage);
// The same for a description given as text (tests, descriptions made by the host).
HRESULT PTRegisterPrinterDescriptionXml(const std::string& xml, std::string* printerName, std::string* errorMessage);
// The printer's default ticket (a complete PrintTicket) as XML text.
HRESULT PTGetDefaultPrintTicket(const std::string& printerName, std::string* ticketXml);

// version must be 1. HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME) for an unknown printer.
HRESULT PTOpenProvider(const char* printerName, std::uint32_t version, HPTPROVIDER* provider);
HRESULT PTCloseProvider(HPTPROVIDER provider);

// Merges delta onto base and writes the complete, validated ticket to result (from its current
// position). On failure *errorMessage (when given) receives a BSTR the caller frees.
HRESULT PTMergeAndValidatePrintTicket(HPTPROVIDER provider, IStream* base, IStream* delta, EPrintTicketScope scope,
                                      IStream* result, BSTR* errorMessage);
// Writes the printer's PrintCapabilities for ticket (the ticket's paper decides PageImageableSize).
HRESULT PTGetPrintCapabilities(HPTPROVIDER provider, IStream* ticket, IStream* capabilities, BSTR* errorMessage);
// A device mode for ticket; *devmode is released with PTReleaseMemory, *size is public + private bytes.
HRESULT PTConvertPrintTicketToDevMode(HPTPROVIDER provider, IStream* ticket, EDefaultDevmodeType baseType,
                                      EPrintTicketScope scope, std::uint32_t* size, DEVMODE** devmode, BSTR* errorMessage);
HRESULT PTReleaseMemory(void* buffer);
