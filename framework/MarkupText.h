#pragma once
// Text utilities with which page markup is built: XML escaping, replace-all and printf-style
// formatting. Markup is UTF-8 in std::string; numbers always use a dot as the decimal separator,
// whatever the locale of the process.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/com/Hresult.h"

// Where escaped text goes: attribute values need quotes and white space kept as references,
// character data only the markup characters.
enum class EscapeContext { Attribute, Text };

// Appends text to out escaped for the context. Attribute: & < > " ' become entities, TAB, LF and
// CR become character references (a parser would otherwise turn them into spaces). Text: & < >
// become entities and CR a character reference (a parser would otherwise turn it into LF).
// Runs without special characters are copied in one piece.
void AppendEscapedXml(std::string& out, std::string_view text, EscapeContext context = EscapeContext::Attribute);

// Escapes *text in place for an attribute value (see AppendEscapedXml); an existing entity is
// escaped again. Null text: E_POINTER, else S_OK.
HRESULT EscapeXmlText(std::string* text);

// Replaces every find in text by replacement, scanning on after each inserted replacement so
// that a replacement holding find is not matched again. Empty find replaces nothing. Returns the
// number of replacements.
std::size_t ReplaceAll(std::string& text, std::string_view find, std::string_view replacement);

// Appends printf-style formatted text (%s, %d, %u, %.2f and the like) formatted in the C locale.
// A format the C library refuses raises CXDException(E_INVALIDARG); allocation failure raises
// std::bad_alloc.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same, as a new text.
std::string FormatMarkup(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends value as "%.2f" would in the C locale ("-0.50", "1234.00"), without going through printf.
void AppendFixed2(std::string& out, double value);
