#include "platform/printticket/DevModePrivatePart.h"

#include <cstring>
#include <string_view>

namespace printschema {

namespace {

void PutLittleEndian(std::vector<std::uint8_t>* bytes, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t GetLittleEndian(const std::uint8_t* bytes, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// Values may hold any text; the line structure needs backslash, line feed and carriage return escaped.
void AppendEscaped(std::string* text, std::string_view value)
{
    for (const char c : value) {
        if (c == '\\')
            *text += "\\\\";
        else if (c == '\n')
            *text += "\\n";
        else if (c == '\r')
            *text += "\\r";
        else
            *text += c;
    }
}

bool Unescape(std::string_view value, std::string* text)
{
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            *text += value[i];
            continue;
        }
        if (++i == value.size())
            return false;
        const char c = value[i];
        if (c != '\\' && c != 'n' && c != 'r')
            return false;
        *text += c == 'n' ? '\n' : c == 'r' ? '\r' : '\\';
    }
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeDevModePrivatePart(const std::vector<DevModePrivateEntry>& entries)
{
    std::string text;
    for (const DevModePrivateEntry& entry : entries) {
        text += entry.kind;
        text += ' ';
        text += entry.path;
        text += '=';
        AppendEscaped(&text, entry.value);
        text += '\n';
    }
    std::vector<std::uint8_t> bytes;
    PutLittleEndian(&bytes, kDevModePrivateMagic, 4);
    PutLittleEndian(&bytes, kDevModePrivateVersion, 2);
    PutLittleEndian(&bytes, kDevModePrivateHeaderSize, 2);
    PutLittleEndian(&bytes, entries.size(), 4);
    PutLittleEndian(&bytes, text.size(), 4);
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

} // namespace printschema

bool ReadDevModePrivatePart(const DEVMODE* devmode, std::uint32_t size, std::vector<DevModePrivateEntry>* entries)
{
    using namespace printschema;
    if (!devmode || !entries || size < sizeof(DEVMODE) || devmode->dmSize < sizeof(DEVMODE) ||
        std::uint64_t(devmode->dmSize) + devmode->dmDriverExtra > size || devmode->dmDriverExtra < kDevModePrivateHeaderSize)
        return false;
    const auto* part = reinterpret_cast<const std::uint8_t*>(devmode) + devmode->dmSize;
    const std::uint32_t headerSize = GetLittleEndian(part + 6, 2);
    const std::uint32_t count = GetLittleEndian(part + 8, 4);
    const std::uint32_t textSize = GetLittleEndian(part + 12, 4);
    if (GetLittleEndian(part, 4) != kDevModePrivateMagic || GetLittleEndian(part + 4, 2) != kDevModePrivateVersion ||
        headerSize < kDevModePrivateHeaderSize || std::uint64_t(headerSize) + textSize > devmode->dmDriverExtra)
        return false;
    std::string_view text(reinterpret_cast<const char*>(part + headerSize), textSize);
    std::vector<DevModePrivateEntry> read;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos)
            return false;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const auto equals = line.find('=');
        if (line.size() < 3 || line[1] != ' ' || equals == std::string_view::npos)
            return false;
        DevModePrivateEntry entry{line[0], std::string(line.substr(2, equals - 2)), {}};
        if (!Unescape(line.substr(equals + 1), &entry.value))
            return false;
        read.push_back(std::move(entry));
    }
    if (read.size() != count)
        return false;
    *entries = std::move(read);
    return true;
}
