#pragma once
// The copying rules that every filter rewriting page markup follows. CMarkupCopier, used as it
// is, copies a FixedPage (or resource dictionary) whole: declaration, elements, attributes
// (namespace declarations included), character data and processing instructions. A filter's page
// handler derives from it, overrides the events of the elements it owns and hands every other
// event back to the copier, so that what it does not know passes on unchanged.
//
// Written markup: "<name" and each attribute as ` name="value"`; the ">" of the last start tag is
// held back, so that an element closed right after its start tag becomes "<name .../>"; every
// attribute value and all character data are escaped here, because the parser delivers them
// with entities resolved.
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/SaxHandlerBase.h"

// An attribute a handler sets on a start tag it writes: the value (unescaped text) replaces that
// of the copied attribute of the same qualified name in its place, or is added after the copied
// ones; no value leaves the attribute out.
struct MarkupAttribute {
    std::string_view qName;
    std::optional<std::string_view> value;
};

class CMarkupCopier : public CSaxHandlerBase {
public:
    using CSaxHandlerBase::CSaxHandlerBase;

    // The XML declaration.
    HRESULT startDocument() override;
    // Flushes, so that a failing sink write ends the parse with its result.
    HRESULT endDocument() override;
    HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view qName,
                         SaxAttributes attributes) override;
    HRESULT endElement(std::string_view uri, std::string_view localName, std::string_view qName) override;
    HRESULT characters(std::string_view text) override;
    HRESULT ignorableWhitespace(std::string_view text) override;
    HRESULT processingInstruction(std::string_view target, std::string_view data) override;

    // Writes the start tag of qName with the given attributes in their order, as changed by
    // changes (see MarkupAttribute); the tag's ">" is held back until the next markup.
    HRESULT WriteStartTag(std::string_view qName, SaxAttributes attributes = {},
                          std::span<const MarkupAttribute> changes = {});
    HRESULT WriteStartTag(std::string_view qName, std::initializer_list<MarkupAttribute> changes);
    // "/>" when qName is the start tag still held open, else "</qName>".
    HRESULT WriteEndTag(std::string_view qName);
    // Character data, escaped.
    HRESULT WriteText(std::string_view text);
    // Markup the handler built itself (whole elements), written as it stands after the held ">".
    HRESULT WriteElementMarkup(std::string_view markup);

private:
    HRESULT CloseStartTag();
    HRESULT WriteAttribute(std::string_view qName, std::string_view value);

    std::string lastStartTag_;
    bool startTagOpen_ = false;
};
