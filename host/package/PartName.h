#pragma once
// Part names of an OPC package: absolute, '/'-separated, compared without regard to ASCII case or
// percent-encoding.
#include <optional>
#include <string>
#include <string_view>

namespace part_name {

// The part name of a ZIP entry name ("Documents/1/x.fpage" gives "/Documents/1/x.fpage"); nullopt
// when the entry escapes the package: absolute, "..", ".", empty segments, backslashes, drive
// letters or control characters.
std::optional<std::string> FromZipEntry(std::string_view entry);

// A reference (relationship target or markup URI) resolved against the part that holds it.
// Fragments and queries are dropped. nullopt for references with a scheme (external), empty ones
// and ones that climb above the package root.
std::optional<std::string> Resolve(std::string_view basePart, std::string_view reference);

// True for an absolute, normalised part name that stays inside the package.
bool IsValid(std::string_view name);

// The comparison key: percent-decoded, ASCII lower case.
std::string Key(std::string_view name);

// "/a/b/c.fpage" gives "/a/b/_rels/c.fpage.rels"; "/" (the package) gives "/_rels/.rels".
std::string RelationshipsOf(std::string_view part);

// The extension in lower case without the dot ("fpage"); empty when there is none.
std::string Extension(std::string_view name);

// The part a piece entry belongs to: "/a.fpage/[2].piece" gives {"/a.fpage", 2, false},
// "/a.fpage/[3].last.piece" gives {"/a.fpage", 3, true}; nullopt for an ordinary entry.
struct PieceName {
    std::string part;
    unsigned index = 0;
    bool last = false;
};
std::optional<PieceName> ParsePiece(std::string_view name);

} // namespace part_name
