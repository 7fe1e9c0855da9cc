#pragma once
// Length-prefixed UTF-16 strings for the interfaces that fix them (property bag values, converter
// records). Inside the system text is UTF-8; convert once, at that edge.
#include <cstdint>
#include <string>
#include <string_view>

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// A null source gives an empty string, not null. Null only when memory runs out.
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t length);
void SysFreeString(BSTR text);
std::uint32_t SysStringLen(BSTR text);
// Strings allocated and not yet freed, process-wide; tests use it to find leaks.
std::int64_t SysLiveStringCount();

// Conversions between UTF-8 and UTF-16; malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
BSTR BstrFromUtf8(std::string_view text);
std::string BstrToUtf8(BSTR text);

// Owns one BSTR.
class CBstr {
public:
    CBstr() = default;
    explicit CBstr(std::string_view utf8) : s_(BstrFromUtf8(utf8)) {}
    CBstr(const CBstr& other) : s_(other.s_ ? SysAllocStringLen(other.s_, SysStringLen(other.s_)) : nullptr) {}
    CBstr(CBstr&& other) noexcept : s_(other.Detach()) {}
    ~CBstr() { SysFreeString(s_); }
    CBstr& operator=(CBstr other) noexcept
    {
        std::swap(s_, other.s_);
        return *this;
    }

    BSTR Get() const { return s_; }
    BSTR* Put()
    {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    BSTR Detach()
    {
        BSTR s = s_;
        s_ = nullptr;
        return s;
    }
    std::uint32_t Length() const { return SysStringLen(s_); }
    std::u16string_view View() const { return s_ ? std::u16string_view(s_, SysStringLen(s_)) : std::u16string_view(); }
    std::string Utf8() const { return BstrToUtf8(s_); }

private:
    BSTR s_ = nullptr;
};
