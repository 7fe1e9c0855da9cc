#pragma once
// Encoding of the device mode's private part (docs/devmode.md).
#include <cstdint>
#include <vector>

#include "platform/printticket/DevMode.h"

namespace printschema {

// The private part's bytes for entries (header and text).
std::vector<std::uint8_t> EncodeDevModePrivatePart(const std::vector<DevModePrivateEntry>& entries);

} // namespace printschema
