#include "framework/MarkupText.h"

#include <locale.h>

#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <exception>

#include "framework/XDException.h"

namespace {

// Per byte: 0 for ordinary text, else the index + 1 of its replacement in kEntities.
struct EscapeTable {
    std::array<unsigned char, 256> attribute{};
    std::array<unsigned char, 256> text{};
};

constexpr std::string_view kEntities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&#9;", "&#10;", "&#13;"};

constexpr EscapeTable MakeEscapeTable()
{
    EscapeTable table;
    const unsigned char attributeSpecials[] = {'&', '<', '>', '"', '\'', '\t', '\n', '\r'};
    for (unsigned char i = 0; i < sizeof attributeSpecials; ++i)
        table.attribute[attributeSpecials[i]] = static_cast<unsigned char>(i + 1);
    table.text['&'] = 1;
    table.text['<'] = 2;
    table.text['>'] = 3;
    table.text['\r'] = 8;
    return table;
}

constexpr EscapeTable kEscapeTable = MakeEscapeTable();

// The C locale, made once; printf-style formatting runs under it on the calling thread only.
locale_t CLocale()
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (!cLocale)
        throw CXDException(E_OUTOFMEMORY);
    return cLocale;
}

class ScopedCLocale {
public:
    ScopedCLocale() : previous_(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(previous_); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous_;
};

__attribute__((format(printf, 2, 0))) void AppendFormatV(std::string& out, const char* format, va_list args)
{
    if (!format)
        throw CXDException(E_INVALIDARG);
    const ScopedCLocale cLocale;
    char small[256];
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(small, sizeof small, format, measure);
    va_end(measure);
    if (length < 0)
        throw CXDException(E_INVALIDARG);
    const auto size = static_cast<std::size_t>(length);
    if (size < sizeof small) {
        out.append(small, size);
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + size + 1);
    std::vsnprintf(out.data() + start, size + 1, format, args);
    out.resize(start + size);
}

// AppendFormatV with what it raised handed back, so that a variadic caller ends its argument list
// before raising it again.
__attribute__((format(printf, 2, 0))) std::exception_ptr AppendFormatCaught(std::string& out, const char* format,
                                                                           va_list args) noexcept
{
    try {
        AppendFormatV(out, format, args);
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

void RaiseIf(const std::exception_ptr& failure)
{
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace

void AppendEscapedXml(std::string& out, std::string_view text, EscapeContext context)
{
    const auto& table = context == EscapeContext::Attribute ? kEscapeTable.attribute : kEscapeTable.text;
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char entity = table[static_cast<unsigned char>(data[i])];
        if (entity == 0)
            continue;
        out.append(data + runStart, i - runStart);
        out.append(kEntities[entity - 1]);
        runStart = i + 1;
    }
    out.append(data + runStart, size - runStart);
}

HRESULT EscapeXmlText(std::string* text)
{
    if (!text)
        return E_POINTER;
    return GuardResult([&] {
        std::string escaped;
        escaped.reserve(text->size());
        AppendEscapedXml(escaped, *text, EscapeContext::Attribute);
        text->swap(escaped);
        return S_OK;
    });
}

std::size_t ReplaceAll(std::string& text, std::string_view find, std::string_view replacement)
{
    if (find.empty())
        return 0;
    std::size_t count = 0;
    for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find, at + replacement.size())) {
        text.replace(at, find.size(), replacement);
        ++count;
    }
    return count;
}

void AppendFormat(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::exception_ptr failure = AppendFormatCaught(out, format, args);
    va_end(args);
    RaiseIf(failure);
}

std::string FormatMarkup(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
    const std::exception_ptr failure = AppendFormatCaught(out, format, args);
    va_end(args);
    RaiseIf(failure);
    return out;
}

void AppendFixed2(std::string& out, double value)
{
    // Wide enough for the largest double written in fixed notation.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    out.append(buffer, result.ptr);
}
