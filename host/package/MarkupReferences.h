#pragma once
// The parts that page markup or a remote resource dictionary names: fonts (Glyphs FontUri),
// images (ImageBrush ImageSource, also inside "{ColorConvertedBitmap image profile}"), colour
// profiles ("ContextColor /profile.icc ..." in any colour attribute) and remote resource
// dictionaries (ResourceDictionary Source). References are given as written, unresolved.
#include <string>
#include <vector>

#include "platform/pipeline/PrintStreams.h"

enum class ResourceKind { Font, Image, ColorProfile, ResourceDictionary, Other };

struct MarkupReference {
    ResourceKind kind = ResourceKind::Other;
    std::string uri;
};

// Which root element the markup must have.
enum class MarkupRoot { FixedPage, ResourceDictionary };

// Scans the markup to its end. ERROR_INVALID_DATA with *error for markup that is not well-formed or
// whose root is not the expected element.
HRESULT ScanMarkupReferences(IPrintReadStream* stream, MarkupRoot root, std::vector<MarkupReference>* references,
                             std::string* error);
