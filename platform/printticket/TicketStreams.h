#pragma once
// Whole-document transfers between IStream and text: tickets are small, so they are read whole.
#include <string>
#include <string_view>

#include "platform/com/Stream.h"

namespace printschema {

// The stream's bytes from its current position to its end. Refuses more than 16 MiB (no ticket
// comes near it) with HRESULT_FROM_WIN32(ERROR_INVALID_DATA) and *error.
HRESULT ReadStreamText(IStream* stream, std::string* text, std::string* error);
// Writes all of text at the stream's current position.
HRESULT WriteStreamText(IStream* stream, std::string_view text);

} // namespace printschema
