#pragma once
// Reads a PrintTicket or PrintCapabilities from its text into a PsNode tree.
#include <string>
#include <string_view>

#include "platform/com/Hresult.h"
#include "platform/printticket/TicketNode.h"

namespace printschema {

// Parses text and checks that its root is the framework element rootName ("PrintTicket").
// Failure: HRESULT_FROM_WIN32(ERROR_INVALID_DATA) and *error naming what is wrong.
HRESULT ReadPrintSchemaDocument(std::string_view text, std::string_view rootName, PsNode* root, std::string* error);

} // namespace printschema
