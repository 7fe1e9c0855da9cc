#pragma once
// A libxml2 tree of outside XML, for readers that walk the tree themselves (the PrintTicket
// provider's ticket and printer description readers). Parsed with the rules of every XML parse of
// this platform (no network, no DTD loading, no external entities, bounded nesting, undecodable
// text refused); a document type declaration is refused outright, so no entity is ever read.
#include <memory>
#include <string>
#include <string_view>

#include <libxml/tree.h>

struct XmlDocDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocHolder = std::unique_ptr<xmlDoc, XmlDocDeleter>;

// The parsed document (it always has a root element), or null with *error = "line L, column C:
// reason" ("out of memory" when the tree could not be made).
XmlDocHolder ParseXmlTree(std::string_view text, std::string* error);
