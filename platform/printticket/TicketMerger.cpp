#include "platform/printticket/TicketMerger.h"

#include <algorithm>
#include <functional>
#include <set>

namespace printschema {

namespace {

bool StartsWith(const std::string& text, std::string_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The value a ScoredProperty, Property or ParameterInit gives: its own, or through a ParameterRef
// the Value of that ParameterInit of root.
const PsValue* GivenValue(const PsNode& root, const PsNode& holder)
{
    if (const PsValue* value = holder.Value())
        return value;
    if (const PsNode* ref = holder.First(PsKind::kParameterRef))
        if (const PsNode* init = root.Find(PsKind::kParameterInit, ref->name))
            return init->Value();
    return nullptr;
}

bool Contains(const PsNode& node, const PsNode& child) { return node.Find(child.kind, child.name) != nullptr; }

// Appends source's children of the given kinds that result does not hold yet (by kind and name).
void AppendMissing(PsNode* result, const PsNode* source, std::initializer_list<PsKind> kinds,
                   const std::function<bool(const PsNode&)>& wanted = {})
{
    if (!source)
        return;
    for (const PsNode& child : source->children)
        if (std::find(kinds.begin(), kinds.end(), child.kind) != kinds.end() && !Contains(*result, child) &&
            (!wanted || wanted(child)))
            result->Add(child);
}

void CollectReferences(const PsNode& node, std::set<PsName>* names)
{
    if (node.kind == PsKind::kParameterRef)
        names->insert(node.name);
    for (const PsNode& child : node.children)
        CollectReferences(child, names);
}

} // namespace

bool CTicketMerger::InScope(const PsName& name) const
{
    // Print Schema names tell their scope: Job... settings exist only in a job ticket,
    // Document... ones in document and job tickets, all others (Page...) everywhere.
    if (StartsWith(name.local, "Job"))
        return scope_ == kPTJobScope;
    if (StartsWith(name.local, "Document"))
        return scope_ != kPTPageScope;
    return true;
}

const OptionDef* CTicketMerger::MatchOption(const FeatureDef& feature, Side option) const
{
    if (!option.node)
        return nullptr;
    if (const OptionDef* named = feature.FindOption(option.node->name))
        return named;
    // An unnamed option, or one named by another producer, is the printer's option whose fixed
    // scored properties it carries with the same values (N-up by PagesPerSheet, 600 x 600 dpi...).
    for (const OptionDef& candidate : feature.options) {
        bool compared = false;
        bool same = true;
        for (const ScoredPropertyDef& scored : candidate.scored) {
            if (!scored.value)
                continue;
            const PsNode* given = option.node->Find(PsKind::kScoredProperty, scored.name);
            const PsValue* value = given ? GivenValue(option.root, *given) : nullptr;
            compared = true;
            same = same && value && value->SameAs(*scored.value);
        }
        if (compared && same)
            return &candidate;
    }
    return nullptr;
}

PsNode CTicketMerger::BuildOption(const OptionDef& option, Side given) const
{
    PsNode result = PsNode::Make(PsKind::kOption, option.name);
    for (const ScoredPropertyDef& scored : option.scored) {
        if (scored.value) {
            result.Add(PsNode::WithValue(PsKind::kScoredProperty, scored.name, *scored.value));
            continue;
        }
        // A parameterised property given as a plain value keeps it, held to the parameter's range.
        const PsNode* mine = given.node ? given.node->Find(PsKind::kScoredProperty, scored.name) : nullptr;
        const PsValue* literal = mine ? mine->Value() : nullptr;
        const auto held = literal ? printer_.FindParameter(scored.parameter)->Validate(*literal) : std::nullopt;
        if (held) {
            result.Add(PsNode::WithValue(PsKind::kScoredProperty, scored.name, *held));
        } else {
            PsNode property = PsNode::Make(PsKind::kScoredProperty, scored.name);
            property.Add(PsNode::Make(PsKind::kParameterRef, scored.parameter));
            result.Add(std::move(property));
        }
    }
    for (const PsNode& property : option.properties) {
        const PsNode* mine = given.node ? given.node->Find(PsKind::kProperty, property.name) : nullptr;
        result.Add(mine ? *mine : property);
    }
    AppendMissing(&result, given.node, {PsKind::kScoredProperty, PsKind::kProperty});
    return result;
}

PsNode CTicketMerger::MergeFeature(const FeatureDef& feature, Side base, Side delta) const
{
    PsNode result = PsNode::Make(PsKind::kFeature, feature.name);
    for (const PsNode& property : feature.properties) {
        const PsNode* mine = delta.node ? delta.node->Find(PsKind::kProperty, property.name) : nullptr;
        if (!mine && base.node)
            mine = base.node->Find(PsKind::kProperty, property.name);
        result.Add(mine ? *mine : property);
    }
    AppendMissing(&result, delta.node, {PsKind::kProperty, PsKind::kScoredProperty});
    AppendMissing(&result, base.node, {PsKind::kProperty, PsKind::kScoredProperty});

    const Side deltaOption{delta.root, delta.node ? delta.node->First(PsKind::kOption) : nullptr};
    const Side baseOption{base.root, base.node ? base.node->First(PsKind::kOption) : nullptr};
    if (const OptionDef* option = MatchOption(feature, deltaOption))
        result.Add(BuildOption(*option, deltaOption));
    else if (const OptionDef* fallback = MatchOption(feature, baseOption))
        result.Add(BuildOption(*fallback, baseOption));
    else
        result.Add(BuildOption(feature.options[feature.defaultOption], {delta.root, nullptr}));

    for (const FeatureDef& sub : feature.subFeatures)
        result.Add(MergeFeature(sub, base.Child(PsKind::kFeature, sub.name), delta.Child(PsKind::kFeature, sub.name)));
    AppendMissing(&result, delta.node, {PsKind::kFeature});
    AppendMissing(&result, base.node, {PsKind::kFeature});
    return result;
}

void CTicketMerger::AddParameterInits(PsNode* result, const PsNode& base, const PsNode& delta) const
{
    std::set<PsName> referenced;
    CollectReferences(*result, &referenced);
    for (const ParameterDef& parameter : printer_.parameters) {
        if (!InScope(parameter.name) || !(parameter.standalone || referenced.count(parameter.name)))
            continue;
        std::optional<PsValue> value;
        for (const PsNode* ticket : {&delta, &base}) {
            const PsNode* init = ticket->Find(PsKind::kParameterInit, parameter.name);
            const PsValue* given = init ? init->Value() : nullptr;
            if (given && (value = parameter.Validate(*given)))
                break;
        }
        result->Add(PsNode::WithValue(PsKind::kParameterInit, parameter.name, value ? *value : parameter.Default()));
    }
    const auto unknown = [this](const PsNode& init) { return InScope(init.name) && !printer_.FindParameter(init.name); };
    AppendMissing(result, &delta, {PsKind::kParameterInit}, unknown);
    AppendMissing(result, &base, {PsKind::kParameterInit}, unknown);
}

PsNode CTicketMerger::Merge(const PsNode& base, const PsNode& delta) const
{
    PsNode result = PsNode::Make(PsKind::kRoot, Framework("PrintTicket"));
    for (const FeatureDef& feature : printer_.features)
        if (InScope(feature.name))
            result.Add(MergeFeature(feature, Side{base, &base}.Child(PsKind::kFeature, feature.name),
                                    Side{delta, &delta}.Child(PsKind::kFeature, feature.name)));
    const auto unknownFeature = [this](const PsNode& feature) {
        return InScope(feature.name) && !printer_.FindFeature(feature.name);
    };
    AppendMissing(&result, &delta, {PsKind::kFeature}, unknownFeature);
    AppendMissing(&result, &base, {PsKind::kFeature}, unknownFeature);
    AddParameterInits(&result, base, delta);
    const auto inScope = [this](const PsNode& property) { return InScope(property.name); };
    AppendMissing(&result, &delta, {PsKind::kProperty}, inScope);
    AppendMissing(&result, &base, {PsKind::kProperty}, inScope);
    return result;
}

PsNode CTicketMerger::DefaultTicket() const
{
    PsNode defaults = PsNode::Make(PsKind::kRoot, Framework("PrintTicket"));
    for (const PsNode& property : printer_.ticketProperties)
        defaults.Add(property);
    return Merge(defaults, PsNode::Make(PsKind::kRoot, Framework("PrintTicket")));
}

} // namespace printschema
