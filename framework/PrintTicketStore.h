#pragma once
// The job's print tickets: one complete, validated ticket per level (job, document, page), each
// merged from the part's own ticket onto the level above, starting from the user's default ticket
// of the print queue. Lives in the filter object; all operations run on the filter's job thread.
// No operation raises; every one answers an HRESULT.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"
#include "platform/printticket/PrintTicketProvider.h"
#include "platform/xml/XmlDocument.h"

// The levels, with the values of the PrintTicket provider's scopes.
enum class TicketScope { Page = 0, Document = 1, Job = 2 };

class CPrintTicketStore {
public:
    CPrintTicketStore() = default;
    // Closes the provider; drops the page, document, job and base tickets.
    virtual ~CPrintTicketStore();
    CPrintTicketStore(const CPrintTicketStore&) = delete;
    CPrintTicketStore& operator=(const CPrintTicketStore&) = delete;

    // Replaces the scope's ticket with delta merged onto the level above (the base ticket for the
    // job). E_INVALIDARG for another scope, E_PENDING when the level above is absent. A rejected
    // merge keeps the scope's previous ticket.
    virtual HRESULT MergeIntoScope(TicketScope scope, CXmlDocument* delta);

    // Opens the provider for printerName and loads the base ticket from the user's default ticket
    // stream, without the N-up features. Null stream: E_POINTER; empty printer name: E_INVALIDARG.
    HRESULT Initialize(IPrintReadStream* stream, const std::string& printerName);

    // Merge the part's own ticket onto the level above; a part without a ticket gets a copy of the
    // level above. Either way the levels below it are dropped. Null part: E_POINTER; a part ticket that
    // does not parse: E_FAIL.
    HRESULT UpdateJobTicket(IFixedDocumentSequence* sequence);
    HRESULT UpdateDocumentTicket(IFixedDocument* document);
    HRESULT UpdatePageTicket(IFixedPage* page);

    // The scope's complete ticket, made from the level above when missing. Borrowed: the store
    // keeps it (edits change the stored ticket); add a reference to hold it past the next update.
    // E_FAIL for an unknown scope or when no ticket can be made.
    HRESULT GetScopeTicket(TicketScope scope, CXmlDocument** ticket);
    // Makes the missing tickets from the job level down to scope. E_PENDING without a base ticket.
    HRESULT EnsureScopeTickets(TicketScope scope);
    // Drops the page ticket, and for higher scopes the document and job tickets.
    void InvalidateScopes(TicketScope scope);

    // Merges the ticket part's content into scope. E_FAIL when it does not parse.
    HRESULT MergeDeltaTicket(TicketScope scope, IPartPrintTicket* ticketPart);
    // delta merged onto base and validated by the provider (always with job scope): a new ticket
    // owned by the caller. E_PENDING before Initialize.
    HRESULT MergeAndValidate(CXmlDocument* delta, CXmlDocument* base, CXmlDocument** merged);
    // The printer's PrintCapabilities for ticket: a new document owned by the caller.
    HRESULT GetPrintCapabilities(CXmlDocument* ticket, CXmlDocument** capabilities);

    // A new document parsed from the stream's start, owned by the caller; E_FAIL when it does not parse.
    static HRESULT LoadTicketFromStream(IStream* stream, CXmlDocument** ticket);
    // A deep copy owned by the caller.
    static HRESULT CloneTicket(CXmlDocument* ticket, CXmlDocument** copy);
    // Writes ticket as a new ticket part "/PT_<tag>_<tick count>_<random>.xml" through consumer;
    // the caller owns *part and attaches it with SetPrintTicket. Null ticket or part: E_POINTER;
    // no consumer: E_PENDING. A failed write gives its HRESULT and no part.
    static HRESULT WriteTicketPart(IXpsDocumentConsumer* consumer, CXmlDocument* ticket, std::string_view tag,
                                   IPartPrintTicket** part);

    // Whether the level's ticket came from its part (rather than a copy of the level above).
    bool JobTicketFromPart() const { return jobTicketFromPart != 0; }
    bool DocumentTicketFromPart() const { return documentTicketFromPart != 0; }
    bool PageTicketFromPart() const { return pageTicketFromPart != 0; }
    // The provider opened by Initialize, for the filters that convert tickets themselves; null before.
    HPTPROVIDER Provider() const { return provider; }

private:
    HRESULT LoadBaseTicket(IStream* stream);
    // The shared steps of the three updates: the part's ticket merged, or the level invalidated.
    HRESULT UpdateScopeTicket(TicketScope scope, HRESULT gotTicket, IPartPrintTicket* ticketPart,
                              std::int32_t* fromPart);
    void CloseProvider();

    ComPtr<CXmlDocument> baseTicket;
    ComPtr<CXmlDocument> jobTicket;
    ComPtr<CXmlDocument> documentTicket;
    ComPtr<CXmlDocument> pageTicket;
    HPTPROVIDER provider = nullptr;
    std::int32_t jobTicketFromPart = 0;
    std::int32_t documentTicketFromPart = 0;
    std::int32_t pageTicketFromPart = 0;
};
