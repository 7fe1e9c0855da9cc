#include "platform/printticket/TicketNode.h"

#include <charconv>

namespace printschema {

namespace {
std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}
} // namespace

PsValue PsValue::Integer(std::int64_t value) { return PsValue{Xsd("integer"), std::to_string(value), std::nullopt}; }
PsValue PsValue::String(std::string text) { return PsValue{Xsd("string"), std::move(text), std::nullopt}; }
PsValue PsValue::QName(PsName name) { return PsValue{Xsd("QName"), name.local, std::move(name)}; }

std::optional<std::int64_t> PsValue::AsInteger() const
{
    std::string_view digits = Trim(text);
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    std::int64_t result = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return result;
}

bool PsValue::SameAs(const PsValue& other) const
{
    if (qname || other.qname)
        return qname && other.qname && *qname == *other.qname;
    const auto a = AsInteger();
    const auto b = other.AsInteger();
    if (a && b)
        return *a == *b;
    return text == other.text;
}

PsNode PsNode::WithValue(PsKind kind, PsName name, PsValue value)
{
    PsNode node = Make(kind, std::move(name));
    PsNode valueNode = Make(PsKind::kValue, {});
    valueNode.value = std::move(value);
    node.Add(std::move(valueNode));
    return node;
}

const PsNode* PsNode::Find(PsKind childKind, const PsName& childName) const
{
    for (const PsNode& child : children)
        if (child.kind == childKind && child.name == childName)
            return &child;
    return nullptr;
}

PsNode* PsNode::Find(PsKind childKind, const PsName& childName)
{
    return const_cast<PsNode*>(static_cast<const PsNode*>(this)->Find(childKind, childName));
}

const PsNode* PsNode::First(PsKind childKind) const
{
    for (const PsNode& child : children)
        if (child.kind == childKind)
            return &child;
    return nullptr;
}

const PsValue* PsNode::Value() const
{
    const PsNode* node = First(PsKind::kValue);
    return node ? &node->value : nullptr;
}

std::optional<std::int64_t> IntegerOf(const PsNode& root, const PsNode& holder)
{
    if (const PsValue* value = holder.Value())
        return value->AsInteger();
    if (const PsNode* ref = holder.First(PsKind::kParameterRef))
        if (const PsNode* init = root.Find(PsKind::kParameterInit, ref->name))
            if (const PsValue* value = init->Value())
                return value->AsInteger();
    return std::nullopt;
}

const PsNode* SelectedOption(const PsNode& root, const PsName& feature)
{
    const PsNode* node = root.Find(PsKind::kFeature, feature);
    return node ? node->First(PsKind::kOption) : nullptr;
}

} // namespace printschema
