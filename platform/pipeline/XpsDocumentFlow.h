#pragma once
// How parts flow between filters: each filter reads from a provider and writes to a consumer.
#include "platform/pipeline/XpsParts.h"

struct IXpsDocumentProvider : IUnknown {
    static constexpr IID kIid = GuidLiteral("{20B557FD-9657-4B5E-9489-F4E003F3BD4B}");
    // The next part in job order; success with *part null is the end of the job.
    virtual HRESULT GetXpsPart(IUnknown** part) = 0;

protected:
    ~IXpsDocumentProvider() = default;
};

struct IXpsDocumentConsumer : IUnknown {
    static constexpr IID kIid = GuidLiteral("{D756448C-4898-4611-BB3B-677FA2DB6199}");
    virtual HRESULT SendXpsUnknown(IUnknown* part) = 0;
    virtual HRESULT SendXpsDocument(IXpsDocument* document) = 0;
    virtual HRESULT SendFixedDocumentSequence(IFixedDocumentSequence* sequence) = 0;
    virtual HRESULT SendFixedDocument(IFixedDocument* document) = 0;
    virtual HRESULT SendFixedPage(IFixedPage* page) = 0;
    // No more parts follow.
    virtual HRESULT CloseSender() = 0;
    // A new empty part of the asked kind (IFixedPage, IPartPrintTicket, IPartFont, IPartImage, ...)
    // and the stream that fills it; the part is complete once the stream is closed.
    virtual HRESULT GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream) = 0;

protected:
    ~IXpsDocumentConsumer() = default;
};

struct IInterFilterCommunicator : IUnknown {
    static constexpr IID kIid = GuidLiteral("{80676861-73BF-41D8-96CA-86AD29460BD6}");
    // The reader answers IXpsDocumentProvider; the writer answers IXpsDocumentConsumer or, for the
    // last filter of a printing chain, IPrintWriteStream.
    virtual HRESULT RequestReader(void** reader) = 0;
    virtual HRESULT RequestWriter(void** writer) = 0;

protected:
    ~IInterFilterCommunicator() = default;
};
