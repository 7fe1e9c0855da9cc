#pragma once
// One line of the call log: a flat JSON object written key by key, UTF-8, ending in a newline.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class CJsonLine {
public:
    // Starts the object with "call": name.
    explicit CJsonLine(std::string_view call);

    CJsonLine& Number(std::string_view key, std::int64_t value);
    CJsonLine& Numbers(std::string_view key, std::initializer_list<std::int64_t> values);
    // Text already in UTF-8.
    CJsonLine& Utf8(std::string_view key, std::string_view text);
    // 8-bit text, one Latin-1 character per byte, zero-terminated; null gives null.
    CJsonLine& Latin1(std::string_view key, const char* text);
    // Zero-terminated UTF-16 (at most limit code units); lone surrogates become U+FFFD; null gives null.
    CJsonLine& Utf16(std::string_view key, const char16_t* text, std::size_t limit = SIZE_MAX);

    // The finished line, "}\n" included; the object is spent afterwards.
    std::string Finish();

private:
    void Key(std::string_view key);
    void CodePoint(std::uint32_t c);

    std::string text_;
};
