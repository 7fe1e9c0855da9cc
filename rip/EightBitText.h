#pragma once
// Names and values for XPSFEED are 8-bit text: every character below U+0100 becomes that byte,
// and a text holding any other character becomes empty (the converter cannot take it). Text of up
// to 511 bytes of UTF-8 (so at most 511 characters) lives in a 512-byte buffer inside the object,
// longer text on the heap.
#include <array>
#include <string_view>
#include <vector>

class CEightBitText {
public:
    // utf8 as SAX delivers it; a malformed sequence counts as a character above U+00FF.
    explicit CEightBitText(std::string_view utf8);
    CEightBitText(const CEightBitText&) = delete;
    CEightBitText& operator=(const CEightBitText&) = delete;

    // Zero-terminated; valid while the object lives.
    const char* CStr() const { return longText_.empty() ? shortText_.data() : longText_.data(); }

private:
    static constexpr std::size_t kShortCapacity = 512;
    std::array<char, kShortCapacity> shortText_{};
    std::vector<char> longText_;
};
