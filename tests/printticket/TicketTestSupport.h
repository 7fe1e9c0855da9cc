#pragma once
// Helpers of the PrintTicket provider tests: streams from text, provider calls that return text,
// XPath queries on the results (with libxml2, independent of the provider's own reader) and a
// small printer with asymmetric margins.
#include <string>

#include "platform/printticket/PrintTicketProvider.h"

namespace pttest {

inline constexpr char kPsf[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
inline constexpr char kPsk[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";

// The printer "Test Printer": ISOA4 (default), ISOA5, NorthAmericaLetter and CustomMediaSize,
// margins left 3000, top 5000, right 7000, bottom 11000; orientations; resolutions 600x600 and
// 300x300; N-up 1, 2, 4 (unnamed options); binding with a gutter of 0 to 203200; two bins.
const char* TestPrinterName();  // registers the printer on first use

// A ticket with the usual declarations and body inside psf:PrintTicket.
std::string Ticket(const std::string& body, const std::string& extraNamespaces = "");

struct CallResult {
    HRESULT hr = S_OK;
    std::string text;     // the document written
    std::string message;  // the error message, when one was given
};

CallResult Merge(const char* printer, const std::string& base, const std::string& delta,
                 EPrintTicketScope scope = kPTJobScope);
CallResult Capabilities(const char* printer, const std::string& ticket);
std::string DefaultTicket(const char* printer);

// string(expression) on the document, with psf, psk and xc bound; "<unparsable>" when it does not parse.
std::string XPath(const std::string& document, const std::string& expression);
std::string ReadFile(const std::string& path);

} // namespace pttest
