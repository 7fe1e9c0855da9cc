#pragma once
// Reading the markup of an XPS part (a FixedPage, a resource dictionary) as SAX events.
#include <string>

#include "platform/pipeline/XpsParts.h"
#include "platform/xml/Sax.h"

// Parses the part's content from its start to its end into handler, which has then received
// every event in document order. Returns the parse's result: the first failure of a handler
// event or of reading the part, HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for markup that is not
// well-formed, E_POINTER for a null part or handler. On failure *errorMessage (optional) receives
// a one-line reason that starts with the part's name.
HRESULT ParsePartMarkup(IPartBase* part, ISAXContentHandler* handler, std::string* errorMessage = nullptr);
