#pragma once
// Writes a PsNode tree as a Print Schema document. Prefixes are the usual ones (psf, psk, xsi, xsd)
// plus "xc" for the private keyword namespace; any other namespace gets ns0000, ns0001... in order
// of first use. Every namespace is declared on the root, where the ticket queries look for them.
#include <string>

#include "platform/printticket/TicketNode.h"

namespace printschema {

// The prefix the writer gives the private keyword namespace.
inline constexpr char kPrivatePrefix[] = "xc";

std::string WritePrintSchemaDocument(const PsNode& root);

} // namespace printschema
