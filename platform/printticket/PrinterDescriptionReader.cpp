// Reads printer description files (docs/printer-description.md) into a PrinterDescription.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <set>
#include <stdexcept>

#include "platform/printticket/PrinterDescription.h"
#include "platform/printticket/XmlTreeAccess.h"
#include "platform/xml/XmlTree.h"

namespace printschema {

namespace {

// A fault in the description; carries its line for the message.
struct DescriptionFault : std::runtime_error {
    DescriptionFault(const xmlNode* node, const std::string& reason)
        : std::runtime_error("line " + std::to_string(xmlGetLineNo(node)) + ": " + reason) {}
};

bool IsElement(const xmlNode* node, const char* localName)
{
    return node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), kPrinterDescriptionNs) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

bool HasAttribute(const xmlNode* element, const char* name) { return xmlHasNsProp(element, BAD_CAST name, nullptr); }

std::vector<const xmlNode*> ChildElements(const xmlNode* element)
{
    std::vector<const xmlNode*> children;
    for (const xmlNode* child = element->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            children.push_back(child);
    return children;
}

class CPrinterDescriptionReader {
public:
    std::shared_ptr<const PrinterDescription> Read(const xmlNode* root)
    {
        if (!IsElement(root, "PrinterDescription"))
            throw DescriptionFault(root, "the root element must be PrinterDescription in namespace \"" +
                                             std::string(kPrinterDescriptionNs) + "\"");
        if (AttributeText(root, "version") != "1")
            throw DescriptionFault(root, "only version=\"1\" descriptions are known");
        auto printer = std::make_shared<PrinterDescription>();
        printer->name = AttributeText(root, "name");
        if (printer->name.empty())
            throw DescriptionFault(root, "the printer has no name");
        for (const xmlNode* child : ChildElements(root)) {
            if (IsElement(child, "ImageableMargins"))
                printer->margins = ReadMargins(child);
            else if (IsElement(child, "Feature"))
                printer->features.push_back(ReadFeature(child, &featureNames_));
            else if (IsElement(child, "Parameter"))
                printer->parameters.push_back(ReadParameter(child));
            else if (IsElement(child, "Property"))
                printer->ticketProperties.push_back(ReadProperty(child));
            else
                throw Unexpected(child);
        }
        CheckParameterReferences(*printer);
        return printer;
    }

private:
    static DescriptionFault Unexpected(const xmlNode* node)
    {
        return DescriptionFault(node, "unexpected element \"" + std::string(reinterpret_cast<const char*>(node->name)) + "\"");
    }

    static PsName Name(const xmlNode* element, const char* attribute, bool required)
    {
        const std::string text = AttributeText(element, attribute);
        if (text.empty()) {
            if (required)
                throw DescriptionFault(element, std::string("the attribute \"") + attribute + "\" is missing");
            return {};
        }
        PsName name;
        if (!ResolveQName(element, text, &name.ns, &name.local) || name.local.empty())
            throw DescriptionFault(element, "\"" + text + "\" uses an undeclared prefix");
        return name;
    }

    static std::int64_t Integer(const xmlNode* element, const char* attribute, std::int64_t fallback)
    {
        if (!HasAttribute(element, attribute))
            return fallback;
        const auto value = PsValue::String(AttributeText(element, attribute)).AsInteger();
        if (!value)
            throw DescriptionFault(element, std::string("the attribute \"") + attribute + "\" is not an integer");
        return *value;
    }

    static std::int64_t Length(const xmlNode* element, const char* attribute)
    {
        const std::int64_t value = Integer(element, attribute, 0);
        if (value < 0)
            throw DescriptionFault(element, std::string("the attribute \"") + attribute + "\" is negative");
        return value;
    }

    // The value an element gives with one of the attributes integer, string or qname.
    static std::optional<PsValue> ValueOf(const xmlNode* element)
    {
        std::optional<PsValue> value;
        int given = 0;
        if (HasAttribute(element, "integer")) {
            value = PsValue::Integer(Integer(element, "integer", 0));
            ++given;
        }
        if (HasAttribute(element, "string")) {
            value = PsValue::String(AttributeText(element, "string"));
            ++given;
        }
        if (HasAttribute(element, "qname")) {
            value = PsValue::QName(Name(element, "qname", true));
            ++given;
        }
        if (given > 1)
            throw DescriptionFault(element, "give only one of integer, string and qname");
        return value;
    }

    static Margins ReadMargins(const xmlNode* element)
    {
        Margins margins{Length(element, "left"), Length(element, "top"), Length(element, "right"), Length(element, "bottom")};
        return margins;
    }

    PsNode ReadProperty(const xmlNode* element)
    {
        const auto value = ValueOf(element);
        PsNode property = value ? PsNode::WithValue(PsKind::kProperty, Name(element, "name", true), *value)
                                : PsNode::Make(PsKind::kProperty, Name(element, "name", true));
        std::set<PsName> names;
        for (const xmlNode* child : ChildElements(element)) {
            if (!IsElement(child, "Property"))
                throw Unexpected(child);
            property.Add(ReadProperty(child));
            if (!names.insert(property.children.back().name).second)
                throw DescriptionFault(child, "the property \"" + AttributeText(child, "name") + "\" appears twice");
        }
        return property;
    }

    ScoredPropertyDef ReadScoredProperty(const xmlNode* element)
    {
        ScoredPropertyDef scored{Name(element, "name", true), ValueOf(element), Name(element, "parameter", false)};
        if (scored.value.has_value() == !scored.parameter.Empty())
            throw DescriptionFault(element, "a scored property needs exactly one of integer, string, qname and parameter");
        if (!scored.parameter.Empty())
            references_.emplace_back(scored.parameter, element);
        return scored;
    }

    OptionDef ReadOption(const xmlNode* element, bool* isDefault)
    {
        OptionDef option{Name(element, "name", false), AttributeText(element, "displayName"), {}, {}, std::nullopt};
        const std::string defaultText = AttributeText(element, "default");
        if (!defaultText.empty() && defaultText != "true" && defaultText != "false")
            throw DescriptionFault(element, "default must be \"true\" or \"false\"");
        *isDefault = defaultText == "true";
        std::set<PsName> scoredNames;
        for (const xmlNode* child : ChildElements(element)) {
            if (IsElement(child, "ScoredProperty")) {
                option.scored.push_back(ReadScoredProperty(child));
                if (!scoredNames.insert(option.scored.back().name).second)
                    throw DescriptionFault(child, "the scored property \"" + AttributeText(child, "name") + "\" appears twice");
            } else if (IsElement(child, "Property")) {
                option.properties.push_back(ReadProperty(child));
            } else if (IsElement(child, "ImageableMargins")) {
                option.margins = ReadMargins(child);
            } else {
                throw Unexpected(child);
            }
        }
        if (option.name.Empty() && std::none_of(option.scored.begin(), option.scored.end(),
                                                [](const ScoredPropertyDef& s) { return s.value.has_value(); }))
            throw DescriptionFault(element, "an unnamed option needs a scored property with a value to be told apart");
        return option;
    }

    FeatureDef ReadFeature(const xmlNode* element, std::set<PsName>* siblings)
    {
        FeatureDef feature;
        feature.name = Name(element, "name", true);
        feature.displayName = AttributeText(element, "displayName");
        if (!siblings->insert(feature.name).second)
            throw DescriptionFault(element, "the feature \"" + AttributeText(element, "name") + "\" appears twice");
        std::set<PsName> subNames;
        std::set<PsName> optionNames;
        int defaults = 0;
        for (const xmlNode* child : ChildElements(element)) {
            if (IsElement(child, "Option")) {
                bool isDefault = false;
                feature.options.push_back(ReadOption(child, &isDefault));
                const PsName& optionName = feature.options.back().name;
                if (!optionName.Empty() && !optionNames.insert(optionName).second)
                    throw DescriptionFault(child, "the option \"" + AttributeText(child, "name") + "\" appears twice");
                if (isDefault) {
                    feature.defaultOption = feature.options.size() - 1;
                    if (++defaults > 1)
                        throw DescriptionFault(child, "a feature has one default option");
                }
            } else if (IsElement(child, "Feature")) {
                feature.subFeatures.push_back(ReadFeature(child, &subNames));
            } else if (IsElement(child, "Property")) {
                feature.properties.push_back(ReadProperty(child));
            } else {
                throw Unexpected(child);
            }
        }
        if (feature.options.empty())
            throw DescriptionFault(element, "the feature \"" + AttributeText(element, "name") + "\" has no option");
        return feature;
    }

    ParameterDef ReadParameter(const xmlNode* element)
    {
        ParameterDef parameter;
        parameter.name = Name(element, "name", true);
        parameter.displayName = AttributeText(element, "displayName");
        parameter.unit = AttributeText(element, "unit");
        parameter.defaultValue = AttributeText(element, "default");
        const std::string type = AttributeText(element, "type");
        if (type == "integer") {
            parameter.type = ParameterType::kInteger;
            parameter.minValue = Integer(element, "min", 0);
            parameter.maxValue = Integer(element, "max", INT32_MAX);
            parameter.multiple = Integer(element, "multiple", 1);
            const auto value = PsValue::String(parameter.defaultValue).AsInteger();
            if (parameter.minValue > parameter.maxValue || parameter.multiple < 1)
                throw DescriptionFault(element, "min must not exceed max and multiple must be at least 1");
            if (!value || *value < parameter.minValue || *value > parameter.maxValue)
                throw DescriptionFault(element, "the default must be an integer between min and max");
        } else if (type == "string") {
            parameter.type = ParameterType::kString;
            parameter.minLength = Length(element, "minLength");
            parameter.maxLength = Length(element, "maxLength");
            if (!parameter.Validate(PsValue::String(parameter.defaultValue)) ||
                (parameter.maxLength > 0 && parameter.Validate(PsValue::String(parameter.defaultValue))->text != parameter.defaultValue))
                throw DescriptionFault(element, "the default does not fit minLength and maxLength");
        } else {
            throw DescriptionFault(element, "type must be \"integer\" or \"string\"");
        }
        if (!parameterNames_.insert(parameter.name).second)
            throw DescriptionFault(element, "the parameter \"" + AttributeText(element, "name") + "\" appears twice");
        if (!ChildElements(element).empty())
            throw Unexpected(ChildElements(element).front());
        return parameter;
    }

    void CheckParameterReferences(PrinterDescription& printer) const
    {
        for (const auto& [name, element] : references_)
            if (!printer.FindParameter(name))
                throw DescriptionFault(element, "the parameter \"" + AttributeText(element, "parameter") + "\" is not described");
        for (ParameterDef& parameter : printer.parameters)
            parameter.standalone = std::none_of(references_.begin(), references_.end(),
                                                [&](const auto& reference) { return reference.first == parameter.name; });
    }

    std::set<PsName> featureNames_;
    std::set<PsName> parameterNames_;
    std::vector<std::pair<PsName, const xmlNode*>> references_;
};

} // namespace

std::shared_ptr<const PrinterDescription> ReadPrinterDescription(std::string_view text, std::string* error)
{
    XmlDocHolder doc = ParseXmlTree(text, error);
    if (!doc)
        return nullptr;
    try {
        return CPrinterDescriptionReader().Read(xmlDocGetRootElement(doc.get()));
    } catch (const DescriptionFault& fault) {
        *error = fault.what();
    } catch (const std::bad_alloc&) {
        *error = "out of memory";
    }
    return nullptr;
}

} // namespace printschema
