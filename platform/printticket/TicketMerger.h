#pragma once
// Merges a delta ticket onto a base ticket and validates the result against a printer, after the
// Print Schema rules: what the delta names replaces what the base has, by resolved name; options
// the printer does not offer fall back to the base's choice, then to the printer's default;
// parameter values are held to their definitions; what the printer does not describe (another
// driver's private features, properties and parameters) is kept as given.
#include "platform/printticket/PrintTicketProvider.h"
#include "platform/printticket/PrinterDescription.h"

namespace printschema {

class CTicketMerger {
public:
    CTicketMerger(const PrinterDescription& printer, EPrintTicketScope scope) : printer_(printer), scope_(scope) {}

    // The complete ticket: every feature of the printer in scope, its option valid.
    PsNode Merge(const PsNode& base, const PsNode& delta) const;
    // The printer's default ticket: default options, parameter defaults, its ticket properties.
    PsNode DefaultTicket() const;

private:
    // One side of the merge: a ticket and, within it, the element being merged (null when absent).
    struct Side {
        const PsNode& root;
        const PsNode* node;
        Side Child(PsKind kind, const PsName& name) const { return {root, node ? node->Find(kind, name) : nullptr}; }
    };

    bool InScope(const PsName& name) const;
    PsNode MergeFeature(const FeatureDef& feature, Side base, Side delta) const;
    const OptionDef* MatchOption(const FeatureDef& feature, Side option) const;
    PsNode BuildOption(const OptionDef& option, Side given) const;
    void AddParameterInits(PsNode* result, const PsNode& base, const PsNode& delta) const;

    const PrinterDescription& printer_;
    EPrintTicketScope scope_;
};

} // namespace printschema
