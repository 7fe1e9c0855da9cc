#include "platform/printticket/TicketWriter.h"

#include <cstdio>
#include <map>

#include "platform/printticket/PrintTicketProvider.h"

namespace printschema {

namespace {

const char* ElementName(PsKind kind)
{
    switch (kind) {
    case PsKind::kFeature: return "Feature";
    case PsKind::kOption: return "Option";
    case PsKind::kScoredProperty: return "ScoredProperty";
    case PsKind::kProperty: return "Property";
    case PsKind::kParameterInit: return "ParameterInit";
    case PsKind::kParameterRef: return "ParameterRef";
    case PsKind::kParameterDef: return "ParameterDef";
    case PsKind::kValue: return "Value";
    case PsKind::kRoot: break;
    }
    return "";
}

void AppendEscaped(std::string* out, const std::string& text, bool attribute)
{
    for (const char c : text) {
        switch (c) {
        case '&': *out += "&amp;"; break;
        case '<': *out += "&lt;"; break;
        case '>': *out += "&gt;"; break;
        case '"': *out += attribute ? "&quot;" : "\""; break;
        case '\r': *out += "&#13;"; break;
        case '\n': *out += attribute ? "&#10;" : "\n"; break;
        case '\t': *out += attribute ? "&#9;" : "\t"; break;
        default: *out += c;
        }
    }
}

class CTicketTextWriter {
public:
    CTicketTextWriter()
    {
        Declare(kFrameworkNs, "psf");
        Declare(kKeywordsNs, "psk");
        Declare(kXsiNs, "xsi");
        Declare(kXsdNs, "xsd");
        Declare(kPrivateKeywordNamespace, kPrivatePrefix);
    }

    std::string Write(const PsNode& root)
    {
        Collect(root);
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<psf:";
        out_ += root.name.local;
        for (const auto& [prefix, uri] : declarations_) {
            out_ += " xmlns:" + prefix + "=\"";
            AppendEscaped(&out_, uri, true);
            out_ += '"';
        }
        out_ += " version=\"1\">\n";
        for (const PsNode& child : root.children)
            WriteNode(child, 1);
        out_ += "</psf:" + root.name.local + ">\n";
        return std::move(out_);
    }

private:
    void Declare(const std::string& uri, const std::string& prefix)
    {
        prefixes_[uri] = prefix;
        declarations_.emplace_back(prefix, uri);
    }

    void Use(const PsName& name)
    {
        if (name.ns.empty() || prefixes_.count(name.ns))
            return;
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "ns%04zu", declarations_.size() - 5);
        Declare(name.ns, prefix);
    }

    void Collect(const PsNode& node)
    {
        Use(node.name);
        Use(node.value.type);
        if (node.value.qname)
            Use(*node.value.qname);
        for (const PsNode& child : node.children)
            Collect(child);
    }

    std::string Qualified(const PsName& name) const
    {
        return name.ns.empty() ? name.local : prefixes_.at(name.ns) + ":" + name.local;
    }

    void WriteNode(const PsNode& node, int depth)
    {
        out_.append(static_cast<std::size_t>(depth) * 2, ' ');
        out_ += "<psf:";
        out_ += ElementName(node.kind);
        if (node.kind == PsKind::kValue) {
            if (!node.value.type.Empty())
                out_ += " xsi:type=\"" + Qualified(node.value.type) + "\"";
            out_ += '>';
            AppendEscaped(&out_, node.value.qname ? Qualified(*node.value.qname) : node.value.text, false);
            out_ += "</psf:Value>\n";
            return;
        }
        if (!node.name.Empty()) {
            out_ += " name=\"";
            AppendEscaped(&out_, Qualified(node.name), true);
            out_ += '"';
        }
        if (node.children.empty()) {
            out_ += "/>\n";
            return;
        }
        out_ += ">\n";
        for (const PsNode& child : node.children)
            WriteNode(child, depth + 1);
        out_.append(static_cast<std::size_t>(depth) * 2, ' ');
        out_ += "</psf:";
        out_ += ElementName(node.kind);
        out_ += ">\n";
    }

    std::map<std::string, std::string> prefixes_;                 // namespace URI -> prefix
    std::vector<std::pair<std::string, std::string>> declarations_;  // in declaration order
    std::string out_;
};

} // namespace

std::string WritePrintSchemaDocument(const PsNode& root) { return CTicketTextWriter().Write(root); }

} // namespace printschema
