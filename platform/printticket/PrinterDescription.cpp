#include "platform/printticket/PrinterDescription.h"

#include <algorithm>

namespace printschema {

namespace {
std::size_t Utf8Length(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The first count characters of text, never cutting a character in two.
std::string Utf8Prefix(std::string_view text, std::size_t count)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] & 0xC0) != 0x80 && seen++ == count)
            return std::string(text.substr(0, i));
    return std::string(text);
}
} // namespace

const OptionDef* FeatureDef::FindOption(const PsName& optionName) const
{
    if (optionName.Empty())
        return nullptr;
    for (const OptionDef& option : options)
        if (option.name == optionName)
            return &option;
    return nullptr;
}

std::optional<PsValue> ParameterDef::Validate(const PsValue& value) const
{
    if (type == ParameterType::kString) {
        if (static_cast<std::int64_t>(Utf8Length(value.text)) < minLength)
            return std::nullopt;
        PsValue held = PsValue::String(value.text);
        if (maxLength > 0 && static_cast<std::int64_t>(Utf8Length(value.text)) > maxLength)
            held.text = Utf8Prefix(value.text, static_cast<std::size_t>(maxLength));
        return held;
    }
    const auto number = value.AsInteger();
    if (!number)
        return std::nullopt;
    std::int64_t held = std::clamp(*number, minValue, maxValue);
    if (multiple > 1)
        held = minValue + (held - minValue) / multiple * multiple;
    return PsValue::Integer(held);
}

PsValue ParameterDef::Default() const
{
    return type == ParameterType::kString ? PsValue::String(defaultValue) : *Validate(PsValue::String(defaultValue));
}

const FeatureDef* PrinterDescription::FindFeature(const PsName& featureName) const
{
    for (const FeatureDef& feature : features)
        if (feature.name == featureName)
            return &feature;
    return nullptr;
}

const ParameterDef* PrinterDescription::FindParameter(const PsName& parameterName) const
{
    for (const ParameterDef& parameter : parameters)
        if (parameter.name == parameterName)
            return &parameter;
    return nullptr;
}

} // namespace printschema
