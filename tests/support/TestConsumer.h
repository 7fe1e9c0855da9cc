#pragma once
// The next filter, as a test sees it: every call recorded in order, with the part sent; new parts
// made in memory and filled by their write streams.
#include <string>
#include <vector>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"

enum class SentKind { Unknown, XpsDocument, Sequence, Document, Page, NewEmptyPart, Close };

struct SentRecord {
    SentKind kind;
    std::string uri;          // the part's name; the asked name for NewEmptyPart; empty for Close
    ComPtr<IUnknown> part;    // null for Close
};

class CTestConsumer final : public CComBase<IXpsDocumentConsumer> {
public:
    HRESULT SendXpsUnknown(IUnknown* part) override;
    HRESULT SendXpsDocument(IXpsDocument* document) override;
    HRESULT SendFixedDocumentSequence(IFixedDocumentSequence* sequence) override;
    HRESULT SendFixedDocument(IFixedDocument* document) override;
    HRESULT SendFixedPage(IFixedPage* page) override;
    HRESULT CloseSender() override;
    // Makes an empty page, print ticket, font or image part; E_NOINTERFACE for another kind.
    HRESULT GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream) override;

    // The kinds recorded, in order.
    std::vector<SentKind> Kinds() const;
    // How many records are of kind.
    std::size_t Count(SentKind kind) const;

    std::vector<SentRecord> records;
    // Sends (not CloseSender, not GetNewEmptyPart) answer this when it is a failure.
    HRESULT sendResult = S_OK;
    HRESULT closeResult = S_OK;
    // The streams of new parts fail their writes once this many bytes are in.
    std::size_t newPartWritesFailAfter = std::string::npos;

private:
    HRESULT Record(SentKind kind, IUnknown* part);
};
