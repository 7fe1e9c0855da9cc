#pragma once
// A printer as its description file gives it (docs/printer-description.md): its features with
// their options, the parameters those options use, its hardware margins and the properties of its
// default ticket. Immutable once read; shared by every provider opened on the printer.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printticket/TicketNode.h"

namespace printschema {

// Unprintable borders of a sheet in portrait orientation, microns.
struct Margins {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
};

// A ScoredProperty an option always carries: a fixed value, or a reference to a parameter.
struct ScoredPropertyDef {
    PsName name;
    std::optional<PsValue> value;
    PsName parameter;  // set when value is absent
};

struct OptionDef {
    PsName name;  // empty for an unnamed option (identified by its scored properties)
    std::string displayName;
    std::vector<ScoredPropertyDef> scored;
    std::vector<PsNode> properties;   // Property elements the option carries
    std::optional<Margins> margins;   // media options: this paper's own margins
};

struct FeatureDef {
    PsName name;
    std::string displayName;
    std::vector<OptionDef> options;   // at least one
    std::size_t defaultOption = 0;
    std::vector<FeatureDef> subFeatures;
    std::vector<PsNode> properties;   // default Property elements of the feature

    const OptionDef* FindOption(const PsName& optionName) const;
};

enum class ParameterType { kInteger, kString };

struct ParameterDef {
    PsName name;
    std::string displayName;
    ParameterType type = ParameterType::kInteger;
    std::int64_t minValue = 0, maxValue = 0, multiple = 1;  // integers
    std::int64_t minLength = 0, maxLength = 0;              // strings, in characters
    std::string defaultValue;
    std::string unit;
    bool standalone = false;  // no option refers to it: always present in a complete ticket

    // The value held to this definition (range, multiple, length); nullopt when value cannot be one.
    std::optional<PsValue> Validate(const PsValue& value) const;
    PsValue Default() const;
};

struct PrinterDescription {
    std::string name;
    Margins margins;                     // for papers without margins of their own
    std::vector<FeatureDef> features;
    std::vector<ParameterDef> parameters;
    std::vector<PsNode> ticketProperties;  // top-level properties of the default ticket

    const FeatureDef* FindFeature(const PsName& featureName) const;
    const ParameterDef* FindParameter(const PsName& parameterName) const;
};

// Reads a description. Failure: null and *error ("line N: reason").
std::shared_ptr<const PrinterDescription> ReadPrinterDescription(std::string_view text, std::string* error);

// The description of the built-in printer, in the file format (examples/printers/default.xml).
extern const char kBuiltInPrinterDescription[];

} // namespace printschema
