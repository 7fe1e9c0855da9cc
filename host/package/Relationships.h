#pragma once
// The relationships of a part or of the package, read from its "_rels/<name>.rels" part.
#include <string>
#include <vector>

#include "platform/pipeline/PrintStreams.h"

struct Relationship {
    std::string type;
    std::string target;  // an absolute part name; empty for an external target
    bool external = false;
};

// Reads the relationships part of source ("/" for the package) from stream; targets are resolved
// against source. A failure with *error for markup that is not well-formed or an internal target
// that escapes the package.
HRESULT ReadRelationships(IPrintReadStream* stream, const std::string& source, std::vector<Relationship>* relationships,
                          std::string* error);
