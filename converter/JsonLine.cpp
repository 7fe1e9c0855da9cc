#include "converter/JsonLine.h"

#include <cstdio>

CJsonLine::CJsonLine(std::string_view call)
{
    text_.push_back('{');
    Utf8("call", call);
}

void CJsonLine::Key(std::string_view key)
{
    if (text_.size() > 1)
        text_ += ',';
    text_ += '"';
    text_ += key;
    text_ += "\":";
}

// Escapes what JSON requires and writes everything else as UTF-8.
void CJsonLine::CodePoint(std::uint32_t c)
{
    if (c == '"' || c == '\\') {
        text_ += '\\';
        text_ += static_cast<char>(c);
    } else if (c < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
        text_ += escape;
    } else if (c < 0x80) {
        text_ += static_cast<char>(c);
    } else if (c < 0x800) {
        text_ += static_cast<char>(0xC0 | (c >> 6));
        text_ += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text_ += static_cast<char>(0xE0 | (c >> 12));
        text_ += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text_ += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text_ += static_cast<char>(0xF0 | (c >> 18));
        text_ += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text_ += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text_ += static_cast<char>(0x80 | (c & 0x3F));
    }
}

CJsonLine& CJsonLine::Number(std::string_view key, std::int64_t value)
{
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

CJsonLine& CJsonLine::Numbers(std::string_view key, std::initializer_list<std::int64_t> values)
{
    Key(key);
    text_ += '[';
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it != values.begin())
            text_ += ',';
        text_ += std::to_string(*it);
    }
    text_ += ']';
    return *this;
}

CJsonLine& CJsonLine::Utf8(std::string_view key, std::string_view text)
{
    Key(key);
    text_ += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\' || byte < 0x20)
            CodePoint(byte);
        else
            text_ += c;
    }
    text_ += '"';
    return *this;
}

CJsonLine& CJsonLine::Latin1(std::string_view key, const char* text)
{
    Key(key);
    if (!text) {
        text_ += "null";
        return *this;
    }
    text_ += '"';
    for (; *text; ++text)
        CodePoint(static_cast<unsigned char>(*text));
    text_ += '"';
    return *this;
}

CJsonLine& CJsonLine::Utf16(std::string_view key, const char16_t* text, std::size_t limit)
{
    Key(key);
    if (!text) {
        text_ += "null";
        return *this;
    }
    text_ += '"';
    for (std::size_t i = 0; i < limit && text[i]; ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < limit && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        CodePoint(c);
    }
    text_ += '"';
    return *this;
}

std::string CJsonLine::Finish()
{
    text_ += "}\n";
    return std::move(text_);
}
