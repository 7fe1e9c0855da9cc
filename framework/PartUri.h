#pragma once
// The name of any part the pipeline passes (a part with content, a document or the sequence), for
// messages and records.
#include <string>

#include "platform/com/Unknown.h"

// Empty when the part has no name or is of another kind.
std::string PartUri(IUnknown* part);
