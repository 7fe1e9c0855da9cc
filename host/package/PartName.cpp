#include "host/package/PartName.h"

#include <cctype>
#include <vector>

namespace part_name {
namespace {

int HexValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Joins segments into "/a/b"; nullopt when ".." climbs above the root or a segment is unsafe.
std::optional<std::string> Normalise(std::string_view path, bool allowDots)
{
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view segment = path.substr(start, end - start);
        start = end + 1;
        if (segment.empty()) {
            if (end == path.size() && !segments.empty())
                return std::nullopt;  // a trailing slash names a folder, not a part
            if (end == path.size())
                break;
            return std::nullopt;
        }
        if (segment == "." || segment == "..") {
            if (!allowDots)
                return std::nullopt;
            if (segment == "..") {
                if (segments.empty())
                    return std::nullopt;
                segments.pop_back();
            }
            continue;
        }
        for (char c : segment) {
            if (static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == ':')
                return std::nullopt;
        }
        segments.push_back(segment);
    }
    if (segments.empty())
        return std::nullopt;
    std::string out;
    for (std::string_view s : segments) {
        out += '/';
        out += s;
    }
    return out;
}

} // namespace

std::optional<std::string> FromZipEntry(std::string_view entry)
{
    if (entry.empty() || entry.front() == '/')
        return std::nullopt;
    return Normalise(entry, false);
}

std::optional<std::string> Resolve(std::string_view basePart, std::string_view reference)
{
    const std::size_t cut = reference.find_first_of("#?");
    if (cut != std::string_view::npos)
        reference = reference.substr(0, cut);
    while (!reference.empty() && std::isspace(static_cast<unsigned char>(reference.front())))
        reference.remove_prefix(1);
    while (!reference.empty() && std::isspace(static_cast<unsigned char>(reference.back())))
        reference.remove_suffix(1);
    if (reference.empty())
        return std::nullopt;
    const std::size_t colon = reference.find(':');
    if (colon != std::string_view::npos && colon < reference.find('/'))
        return std::nullopt;  // a scheme: an external reference
    if (reference.front() == '/')
        return Normalise(reference.substr(1), true);
    std::string path(basePart.substr(0, basePart.rfind('/') + 1));
    path += reference;
    return Normalise(std::string_view(path).substr(path.starts_with('/') ? 1 : 0), true);
}

bool IsValid(std::string_view name)
{
    if (name.size() < 2 || name.front() != '/')
        return false;
    const auto normal = Normalise(name.substr(1), false);
    return normal && *normal == name;
}

std::string Key(std::string_view name)
{
    std::string key;
    key.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '%' && i + 2 < name.size() && HexValue(name[i + 1]) >= 0 && HexValue(name[i + 2]) >= 0) {
            key += LowerAscii(static_cast<char>(HexValue(name[i + 1]) * 16 + HexValue(name[i + 2])));
            i += 2;
        } else {
            key += LowerAscii(name[i]);
        }
    }
    return key;
}

std::string RelationshipsOf(std::string_view part)
{
    if (part == "/" || part.empty())
        return "/_rels/.rels";
    const std::size_t slash = part.rfind('/');
    std::string rels(part.substr(0, slash + 1));
    rels += "_rels/";
    rels += part.substr(slash + 1);
    rels += ".rels";
    return rels;
}

std::string Extension(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    std::string ext;
    for (char c : name.substr(dot + 1))
        ext += LowerAscii(c);
    return ext;
}

std::optional<PieceName> ParsePiece(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    if (slash == std::string_view::npos || slash == 0)
        return std::nullopt;
    std::string last;
    for (char c : name.substr(slash + 1))
        last += LowerAscii(c);
    if (last.size() < 3 || last.front() != '[')
        return std::nullopt;
    const std::size_t close = last.find(']');
    if (close == std::string::npos || close == 1 || close > 10)
        return std::nullopt;
    PieceName piece;
    for (std::size_t i = 1; i < close; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(last[i])))
            return std::nullopt;
        piece.index = piece.index * 10 + static_cast<unsigned>(last[i] - '0');
    }
    const std::string_view rest = std::string_view(last).substr(close + 1);
    if (rest == ".last.piece")
        piece.last = true;
    else if (rest != ".piece")
        return std::nullopt;
    piece.part = std::string(name.substr(0, slash));
    return piece;
}

} // namespace part_name
