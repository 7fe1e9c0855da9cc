#pragma once
// The content types of a package ([Content_Types].xml): Override by part name, else Default by
// extension, both compared without regard to ASCII case.
#include <map>
#include <string>
#include <string_view>

#include "platform/pipeline/PrintStreams.h"

struct ContentTypeMap {
    std::map<std::string, std::string> defaults;   // by lower-case extension
    std::map<std::string, std::string> overrides;  // by part name key

    // Empty when neither an Override nor a Default applies.
    std::string Find(std::string_view partName) const;
};

// Reads [Content_Types].xml; a failure with *error for markup that is not well-formed.
HRESULT ReadContentTypes(IPrintReadStream* stream, ContentTypeMap* map, std::string* error);
