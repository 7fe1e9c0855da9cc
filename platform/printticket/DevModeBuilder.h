#pragma once
// The device mode of a complete ticket: the public DEVMODE fields from the Print Schema keywords,
// then the ticket's private-namespace settings as the private part (docs/devmode.md).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Hresult.h"
#include "platform/printticket/DevMode.h"
#include "platform/printticket/PrinterDescription.h"

namespace printschema {

// The private settings of ticket, in document order.
std::vector<DevModePrivateEntry> PrivateEntriesOf(const PsNode& ticket);

// The whole device mode (public and private part) in *bytes. Fails with
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) and *error when the private settings do not fit
// the 65535 bytes a device mode allows.
HRESULT BuildDevMode(const PrinterDescription& printer, const PsNode& ticket, std::vector<std::uint8_t>* bytes,
                     std::string* error);

} // namespace printschema
