#include "platform/printticket/PrintCapabilitiesBuilder.h"

#include <algorithm>

namespace printschema {

namespace {

PsNode IntegerProperty(PsName name, std::int64_t value)
{
    return PsNode::WithValue(PsKind::kProperty, std::move(name), PsValue::Integer(value));
}

void AddDisplayName(PsNode* node, const std::string& displayName)
{
    if (!displayName.empty())
        node->Add(PsNode::WithValue(PsKind::kProperty, Keyword("DisplayName"), PsValue::String(displayName)));
}

PsNode FeatureCapabilities(const FeatureDef& feature)
{
    PsNode node = PsNode::Make(PsKind::kFeature, feature.name);
    node.Add(PsNode::WithValue(PsKind::kProperty, Framework("SelectionType"), PsValue::QName(Keyword("PickOne"))));
    AddDisplayName(&node, feature.displayName);
    for (const PsNode& property : feature.properties)
        node.Add(property);
    for (const OptionDef& option : feature.options) {
        PsNode optionNode = PsNode::Make(PsKind::kOption, option.name);
        AddDisplayName(&optionNode, option.displayName);
        for (const ScoredPropertyDef& scored : option.scored) {
            if (scored.value) {
                optionNode.Add(PsNode::WithValue(PsKind::kScoredProperty, scored.name, *scored.value));
            } else {
                PsNode property = PsNode::Make(PsKind::kScoredProperty, scored.name);
                property.Add(PsNode::Make(PsKind::kParameterRef, scored.parameter));
                optionNode.Add(std::move(property));
            }
        }
        for (const PsNode& property : option.properties)
            optionNode.Add(property);
        node.Add(std::move(optionNode));
    }
    for (const FeatureDef& sub : feature.subFeatures)
        node.Add(FeatureCapabilities(sub));
    return node;
}

PsNode ParameterCapabilities(const ParameterDef& parameter)
{
    PsNode node = PsNode::Make(PsKind::kParameterDef, parameter.name);
    const bool integer = parameter.type == ParameterType::kInteger;
    node.Add(PsNode::WithValue(PsKind::kProperty, Framework("DataType"), PsValue::QName(Xsd(integer ? "integer" : "string"))));
    node.Add(PsNode::WithValue(PsKind::kProperty, Framework("DefaultValue"), parameter.Default()));
    if (integer) {
        node.Add(IntegerProperty(Framework("MinValue"), parameter.minValue));
        node.Add(IntegerProperty(Framework("MaxValue"), parameter.maxValue));
        node.Add(IntegerProperty(Framework("Multiple"), parameter.multiple));
    } else {
        node.Add(IntegerProperty(Framework("MinLength"), parameter.minLength));
        if (parameter.maxLength > 0)
            node.Add(IntegerProperty(Framework("MaxLength"), parameter.maxLength));
    }
    node.Add(PsNode::WithValue(PsKind::kProperty, Framework("Mandatory"),
                               PsValue::QName(Keyword(parameter.standalone ? "Unconditional" : "Conditional"))));
    if (!parameter.unit.empty())
        node.Add(PsNode::WithValue(PsKind::kProperty, Framework("UnitType"), PsValue::String(parameter.unit)));
    AddDisplayName(&node, parameter.displayName);
    return node;
}

} // namespace

std::optional<ImageableArea> ImageableAreaOf(const PrinterDescription& printer, const PsNode& ticket)
{
    const PsNode* paper = SelectedOption(ticket, Keyword("PageMediaSize"));
    const PsNode* widthNode = paper ? paper->Find(PsKind::kScoredProperty, Keyword("MediaSizeWidth")) : nullptr;
    const PsNode* heightNode = paper ? paper->Find(PsKind::kScoredProperty, Keyword("MediaSizeHeight")) : nullptr;
    const auto width = widthNode ? IntegerOf(ticket, *widthNode) : std::nullopt;
    const auto height = heightNode ? IntegerOf(ticket, *heightNode) : std::nullopt;
    if (!width || !height)
        return std::nullopt;
    const FeatureDef* media = printer.FindFeature(Keyword("PageMediaSize"));
    const OptionDef* option = media ? media->FindOption(paper->name) : nullptr;
    const Margins m = option && option->margins ? *option->margins : printer.margins;

    const PsNode* orientation = SelectedOption(ticket, Keyword("PageOrientation"));
    const std::string turn = orientation && orientation->name.ns == kKeywordsNs ? orientation->name.local : "Portrait";
    Margins seen = m;
    ImageableArea area{*width, *height, 0, 0, 0, 0};
    if (turn == "Landscape")
        seen = {m.bottom, m.left, m.top, m.right};
    else if (turn == "ReverseLandscape")
        seen = {m.top, m.right, m.bottom, m.left};
    else if (turn == "ReversePortrait")
        seen = {m.right, m.bottom, m.left, m.top};
    if (turn == "Landscape" || turn == "ReverseLandscape")
        std::swap(area.width, area.height);
    area.originWidth = std::min(seen.left, area.width);
    area.originHeight = std::min(seen.top, area.height);
    area.extentWidth = std::max<std::int64_t>(0, area.width - seen.left - seen.right);
    area.extentHeight = std::max<std::int64_t>(0, area.height - seen.top - seen.bottom);
    return area;
}

PsNode BuildPrintCapabilities(const PrinterDescription& printer, const PsNode& ticket)
{
    PsNode root = PsNode::Make(PsKind::kRoot, Framework("PrintCapabilities"));
    for (const ParameterDef& parameter : printer.parameters)
        root.Add(ParameterCapabilities(parameter));
    for (const FeatureDef& feature : printer.features)
        root.Add(FeatureCapabilities(feature));
    if (const auto area = ImageableAreaOf(printer, ticket)) {
        PsNode size = PsNode::Make(PsKind::kProperty, Keyword("PageImageableSize"));
        size.Add(IntegerProperty(Keyword("ImageableSizeWidth"), area->width));
        size.Add(IntegerProperty(Keyword("ImageableSizeHeight"), area->height));
        PsNode extent = PsNode::Make(PsKind::kProperty, Keyword("ImageableArea"));
        extent.Add(IntegerProperty(Keyword("OriginWidth"), area->originWidth));
        extent.Add(IntegerProperty(Keyword("OriginHeight"), area->originHeight));
        extent.Add(IntegerProperty(Keyword("ExtentWidth"), area->extentWidth));
        extent.Add(IntegerProperty(Keyword("ExtentHeight"), area->extentHeight));
        size.Add(std::move(extent));
        root.Add(std::move(size));
    }
    return root;
}

} // namespace printschema
