#include "rip/EightBitText.h"

#include <cstdint>

namespace {

// Decodes one UTF-8 sequence at text[i], advancing i; a malformed one gives a code point above 0xFF.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0)
        return 0xFFFD;
    std::uint32_t c = lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return c;
}

} // namespace

CEightBitText::CEightBitText(std::string_view utf8)
{
    // Characters never outnumber bytes, so the byte count decides the buffer.
    char* out = shortText_.data();
    if (utf8.size() >= kShortCapacity) {
        longText_.assign(utf8.size() + 1, '\0');
        out = longText_.data();
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t c = NextCodePoint(utf8, i);
        if (c > 0xFF) {
            out[0] = '\0';
            return;
        }
        out[n++] = static_cast<char>(c);
    }
    out[n] = '\0';
}
