#include "platform/com/Bstr.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<std::int64_t> liveStrings{0};

// Layout: a 32-bit byte count, then the characters and a terminator; the BSTR points at the characters.
struct alignas(8) Header {
    std::uint32_t bytes;
    std::uint32_t pad;
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t length)
{
    const std::size_t bytes = std::size_t(length) * sizeof(OLECHAR);
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(Header) + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    auto* header = reinterpret_cast<Header*>(block);
    header->bytes = static_cast<std::uint32_t>(bytes);
    auto* chars = reinterpret_cast<OLECHAR*>(block + sizeof(Header));
    if (text)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    ++liveStrings;
    return chars;
}

BSTR SysAllocString(const OLECHAR* text)
{
    std::uint32_t length = 0;
    if (text)
        while (text[length])
            ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text)
{
    if (!text)
        return;
    --liveStrings;
    std::free(reinterpret_cast<unsigned char*>(text) - sizeof(Header));
}

std::uint32_t SysStringLen(BSTR text)
{
    if (!text)
        return 0;
    const auto* header = reinterpret_cast<const Header*>(reinterpret_cast<unsigned char*>(text) - sizeof(Header));
    return header->bytes / sizeof(OLECHAR);
}

std::int64_t SysLiveStringCount() { return liveStrings.load(); }

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t n = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            n = 3;
        } else if ((b & 0xF8) == 0xF0) {
            n = 4;
        }
        if (n > 1) {
            if (i + n > text.size()) {
                n = 1;
            } else {
                char32_t v = b & (0x7F >> n);
                bool ok = true;
                for (std::size_t k = 1; k < n; ++k) {
                    const auto cb = static_cast<unsigned char>(text[i + k]);
                    if ((cb & 0xC0) != 0x80) {
                        ok = false;
                        break;
                    }
                    v = (v << 6) | (cb & 0x3F);
                }
                static constexpr char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
                if (ok && v >= minimum[n] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
                    c = v;
                else
                    n = 1;
            }
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += n;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

BSTR BstrFromUtf8(std::string_view text)
{
    const std::u16string wide = Utf8ToUtf16(text);
    return SysAllocStringLen(wide.data(), static_cast<std::uint32_t>(wide.size()));
}

std::string BstrToUtf8(BSTR text)
{
    return text ? Utf16ToUtf8(std::u16string_view(text, SysStringLen(text))) : std::string();
}
