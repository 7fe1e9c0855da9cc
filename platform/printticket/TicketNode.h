#pragma once
// A Print Schema document (PrintTicket or PrintCapabilities) as a tree of framework elements with
// every name resolved, independent of the prefixes the producer chose. Elements of other
// namespaces are not kept (the Print Schema framework gives them no meaning).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/printticket/PrintSchemaNames.h"

namespace printschema {

enum class PsKind { kRoot, kFeature, kOption, kScoredProperty, kProperty, kParameterInit, kParameterRef, kParameterDef, kValue };

// The typed value of a Value element: xsi:type resolved; a QName value is resolved too (qname),
// any other value is kept as written (text).
struct PsValue {
    PsName type;
    std::string text;
    std::optional<PsName> qname;

    static PsValue Integer(std::int64_t value);
    static PsValue String(std::string text);
    static PsValue QName(PsName name);
    // The value as an integer when it is one (surrounding white space allowed).
    std::optional<std::int64_t> AsInteger() const;
    // Equal as values: QNames by resolved name, integers numerically, other text exactly.
    bool SameAs(const PsValue& other) const;
};

struct PsNode {
    PsKind kind = PsKind::kRoot;
    PsName name;                   // empty for an unnamed Option or a Value
    PsValue value;                 // kValue only
    std::vector<PsNode> children;

    static PsNode Make(PsKind kind, PsName name) { return PsNode{kind, std::move(name), {}, {}}; }
    // A Property, ScoredProperty or ParameterInit holding one Value.
    static PsNode WithValue(PsKind kind, PsName name, PsValue value);

    // The first child of that kind and name; null when absent.
    const PsNode* Find(PsKind childKind, const PsName& childName) const;
    PsNode* Find(PsKind childKind, const PsName& childName);
    // The first child of that kind (any name).
    const PsNode* First(PsKind childKind) const;
    // The Value child, when there is one.
    const PsValue* Value() const;
    void Add(PsNode child) { children.push_back(std::move(child)); }
};

// The integer behind a ScoredProperty, Property or ParameterInit: its own Value or, through a
// ParameterRef, the Value of the ParameterInit of that name among root's children.
std::optional<std::int64_t> IntegerOf(const PsNode& root, const PsNode& holder);
// The selected Option of root's Feature name (top-level features only); null when absent.
const PsNode* SelectedOption(const PsNode& root, const PsName& feature);

} // namespace printschema
