#include "framework/PrintTicketStore.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "framework/ReadStreamAdapter.h"
#include "framework/SequentialReadAdapter.h"
#include "framework/TicketDocument.h"
#include "framework/TraceControl.h"
#include "framework/XDException.h"

namespace {

// Copies of a ticket go through memory in pieces of this size.
constexpr ULONG kCopyChunk = 65536;

// The standard N-up features never reach the base ticket: the layout filter owns N-up, and a
// document or page must not inherit the user's default.
constexpr const char* kBaseTicketRemovedFeatures[] = {"JobNUpAllDocumentsContiguously", "DocumentNUp"};

// Milliseconds of a monotonic clock, wrapping like the system's tick count.
std::uint32_t TickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

HRESULT WriteAll(IPrintWriteStream* stream, const unsigned char* bytes, ULONG size)
{
    while (size > 0) {
        ULONG written = 0;
        const HRESULT hr = stream->WriteBytes(bytes, size, &written);
        if (FAILED(hr))
            return hr;
        if (written == 0 || written > size)
            return E_FAIL;  // a stream that takes nothing would never finish
        bytes += written;
        size -= written;
    }
    return S_OK;
}

} // namespace

CPrintTicketStore::~CPrintTicketStore()
{
    CloseProvider();
    pageTicket = nullptr;
    documentTicket = nullptr;
    jobTicket = nullptr;
    baseTicket = nullptr;
}

void CPrintTicketStore::CloseProvider()
{
    if (provider)
        PTCloseProvider(std::exchange(provider, nullptr));
}

HRESULT CPrintTicketStore::Initialize(IPrintReadStream* stream, const std::string& printerName)
{
    CloseProvider();
    if (!stream)
        return E_POINTER;
    if (printerName.empty())
        return E_INVALIDARG;
    HRESULT hr = PTOpenProvider(printerName.c_str(), 1, &provider);
    if (FAILED(hr)) {
        provider = nullptr;
        TraceEvent(kTraceFlagError, "no PrintTicket provider for \"%s\": %s", printerName.c_str(), FormatHresult(hr).c_str());
        return hr;
    }
    ComPtr<IStream> adapter;
    hr = CReadStreamAdapter::Create(stream, adapter.Put());
    return FAILED(hr) ? hr : LoadBaseTicket(adapter.Get());
}

HRESULT CPrintTicketStore::LoadBaseTicket(IStream* stream)
{
    pageTicket = nullptr;
    documentTicket = nullptr;
    jobTicket = nullptr;
    baseTicket = nullptr;
    const HRESULT hr = LoadTicketFromStream(stream, baseTicket.Put());
    if (FAILED(hr))
        return hr;
    // A ticket whose features cannot be edited keeps them; the provider still validates every merge.
    GuardResult([&] {
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, baseTicket.Get());
        for (const char* feature : kBaseTicketRemovedFeatures) {
            if (ticket.FeatureExists(feature) != S_OK)
                continue;
            const HRESULT removed = ticket.RemoveFeature(feature);
            if (FAILED(removed))
                return removed;
        }
        return S_OK;
    });
    return hr;
}

HRESULT CPrintTicketStore::LoadTicketFromStream(IStream* stream, CXmlDocument** ticket)
{
    if (!ticket)
        return E_POINTER;
    *ticket = nullptr;
    if (!stream)
        return E_POINTER;
    ComPtr<CXmlDocument> document;
    HRESULT hr = CXmlDocument::Create(document.Put());
    if (SUCCEEDED(hr))
        hr = stream->Seek(0, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr))
        return hr;
    if (FAILED(document->Load(stream))) {
        TraceEvent(kTraceFlagError, "a print ticket does not parse: %s", document->ParseError().c_str());
        return E_FAIL;
    }
    *ticket = document.Detach();
    return S_OK;
}

HRESULT CPrintTicketStore::CloneTicket(CXmlDocument* ticket, CXmlDocument** copy)
{
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    if (!ticket)
        return E_POINTER;
    return ticket->Clone(copy);
}

HRESULT CPrintTicketStore::UpdateJobTicket(IFixedDocumentSequence* sequence)
{
    if (!sequence)
        return E_POINTER;
    ComPtr<IPartPrintTicket> ticketPart;
    const HRESULT hr = sequence->GetPrintTicket(ticketPart.Put());
    return UpdateScopeTicket(TicketScope::Job, hr, ticketPart.Get(), &jobTicketFromPart);
}

HRESULT CPrintTicketStore::UpdateDocumentTicket(IFixedDocument* document)
{
    if (!document)
        return E_POINTER;
    ComPtr<IPartPrintTicket> ticketPart;
    const HRESULT hr = document->GetPrintTicket(ticketPart.Put());
    return UpdateScopeTicket(TicketScope::Document, hr, ticketPart.Get(), &documentTicketFromPart);
}

HRESULT CPrintTicketStore::UpdatePageTicket(IFixedPage* page)
{
    if (!page)
        return E_POINTER;
    ComPtr<IPartPrintTicket> ticketPart;
    const HRESULT hr = page->GetPrintTicket(ticketPart.Put());
    return UpdateScopeTicket(TicketScope::Page, hr, ticketPart.Get(), &pageTicketFromPart);
}

HRESULT CPrintTicketStore::UpdateScopeTicket(TicketScope scope, HRESULT gotTicket, IPartPrintTicket* ticketPart,
                                             std::int32_t* fromPart)
{
    if (SUCCEEDED(gotTicket) && ticketPart) {
        // The levels below belonged to the previous part of this level (the last page of the
        // previous document); they are made again from the new ticket.
        if (scope != TicketScope::Page)
            InvalidateScopes(static_cast<TicketScope>(static_cast<int>(scope) - 1));
        const HRESULT hr = MergeDeltaTicket(scope, ticketPart);
        *fromPart = 1;
        return hr;
    }
    if (SUCCEEDED(gotTicket) || gotTicket == ResultNotFound) {
        // No ticket of its own: the level is a copy of the one above, and what lay below it is stale.
        switch (scope) {
        case TicketScope::Job: InvalidateScopes(TicketScope::Job); break;
        case TicketScope::Document:
            pageTicket = nullptr;
            documentTicket = nullptr;
            break;
        case TicketScope::Page: pageTicket = nullptr; break;
        }
        *fromPart = 0;
        return EnsureScopeTickets(scope);
    }
    return gotTicket;
}

HRESULT CPrintTicketStore::MergeDeltaTicket(TicketScope scope, IPartPrintTicket* ticketPart)
{
    if (!ticketPart)
        return E_POINTER;
    ComPtr<CXmlDocument> delta;
    HRESULT hr = CXmlDocument::Create(delta.Put());
    ComPtr<IPrintReadStream> stream;
    if (SUCCEEDED(hr))
        hr = ticketPart->GetStream(stream.Put());
    ComPtr<ISequentialStream> adapter;
    if (SUCCEEDED(hr))
        hr = CSequentialReadAdapter::Create(stream.Get(), adapter.Put());
    if (FAILED(hr))
        return hr;
    if (FAILED(delta->Load(adapter.Get()))) {
        std::string uri;
        ticketPart->GetUri(&uri);
        TraceEvent(kTraceFlagError, "the print ticket %s does not parse: %s", uri.c_str(), delta->ParseError().c_str());
        return E_FAIL;
    }
    return MergeIntoScope(scope, delta.Get());
}

HRESULT CPrintTicketStore::MergeIntoScope(TicketScope scope, CXmlDocument* delta)
{
    ComPtr<CXmlDocument>* target = nullptr;
    CXmlDocument* base = nullptr;
    switch (scope) {
    case TicketScope::Page:
        target = &pageTicket;
        base = documentTicket.Get();
        break;
    case TicketScope::Document:
        target = &documentTicket;
        base = jobTicket.Get();
        break;
    case TicketScope::Job:
        target = &jobTicket;
        base = baseTicket.Get();
        break;
    default: return E_INVALIDARG;
    }
    if (!base)
        return ResultNotAvailable;
    ComPtr<CXmlDocument> merged;
    const HRESULT hr = MergeAndValidate(delta, base, merged.Put());
    if (SUCCEEDED(hr))
        *target = std::move(merged);
    return hr;
}

HRESULT CPrintTicketStore::MergeAndValidate(CXmlDocument* delta, CXmlDocument* base, CXmlDocument** merged)
{
    if (!merged)
        return E_POINTER;
    *merged = nullptr;
    if (!delta || !base)
        return E_POINTER;
    if (!provider)
        return ResultNotAvailable;
    ComPtr<IStream> result;
    ComPtr<IStream> baseStream;
    ComPtr<IStream> deltaStream;
    HRESULT hr = CreateStreamOnHGlobal(result.Put());
    if (SUCCEEDED(hr))
        hr = base->GetStream(baseStream.Put());
    if (SUCCEEDED(hr))
        hr = delta->GetStream(deltaStream.Put());
    if (FAILED(hr))
        return hr;
    CBstr errorMessage;
    hr = PTMergeAndValidatePrintTicket(provider, baseStream.Get(), deltaStream.Get(), kPTJobScope, result.Get(),
                                       errorMessage.Put());
    if (FAILED(hr)) {
        TraceEvent(kTraceFlagError, "the print ticket merge was rejected: %s", errorMessage.Utf8().c_str());
        return hr;
    }
    return LoadTicketFromStream(result.Get(), merged);
}

HRESULT CPrintTicketStore::EnsureScopeTickets(TicketScope scope)
{
    if (!baseTicket)
        return ResultNotAvailable;
    const int level = static_cast<int>(scope);
    HRESULT hr = S_OK;
    if (level <= 2 && !jobTicket)
        hr = CloneTicket(baseTicket.Get(), jobTicket.Put());
    if (SUCCEEDED(hr) && level <= 1 && !documentTicket)
        hr = CloneTicket(jobTicket.Get(), documentTicket.Put());
    if (SUCCEEDED(hr) && level <= 0 && !pageTicket)
        hr = CloneTicket(documentTicket.Get(), pageTicket.Put());
    return hr;
}

void CPrintTicketStore::InvalidateScopes(TicketScope scope)
{
    pageTicket = nullptr;
    if (static_cast<int>(scope) > 0)
        documentTicket = nullptr;
    if (static_cast<int>(scope) > 1)
        jobTicket = nullptr;
}

HRESULT CPrintTicketStore::GetScopeTicket(TicketScope scope, CXmlDocument** ticket)
{
    if (!ticket)
        return E_POINTER;
    *ticket = nullptr;
    EnsureScopeTickets(scope);
    switch (scope) {
    case TicketScope::Page: *ticket = pageTicket.Get(); break;
    case TicketScope::Document: *ticket = documentTicket.Get(); break;
    case TicketScope::Job: *ticket = jobTicket.Get(); break;
    default: break;
    }
    return *ticket ? S_OK : E_FAIL;
}

HRESULT CPrintTicketStore::GetPrintCapabilities(CXmlDocument* ticket, CXmlDocument** capabilities)
{
    if (!capabilities)
        return E_POINTER;
    *capabilities = nullptr;
    if (!ticket)
        return E_POINTER;
    if (!provider)
        return ResultNotAvailable;
    ComPtr<IStream> ticketStream;
    ComPtr<IStream> result;
    HRESULT hr = ticket->GetStream(ticketStream.Put());
    if (SUCCEEDED(hr))
        hr = CreateStreamOnHGlobal(result.Put());
    if (FAILED(hr))
        return hr;
    CBstr errorMessage;
    hr = PTGetPrintCapabilities(provider, ticketStream.Get(), result.Get(), errorMessage.Put());
    if (FAILED(hr)) {
        TraceEvent(kTraceFlagError, "no print capabilities for the ticket: %s", errorMessage.Utf8().c_str());
        return hr;
    }
    return LoadTicketFromStream(result.Get(), capabilities);
}

HRESULT CPrintTicketStore::WriteTicketPart(IXpsDocumentConsumer* consumer, CXmlDocument* ticket, std::string_view tag,
                                           IPartPrintTicket** part)
{
    if (!ticket || !part)
        return E_POINTER;
    *part = nullptr;
    if (!consumer)
        return ResultNotAvailable;

    char name[160];
    std::snprintf(name, sizeof(name), "/PT_%.*s_%u_%u.xml", static_cast<int>(tag.size()), tag.data(), TickCount(),
                  static_cast<unsigned>(std::rand()));
    ComPtr<IPartPrintTicket> newPart;
    ComPtr<IPrintWriteStream> writer;
    HRESULT hr = consumer->GetNewEmptyPart(name, IPartPrintTicket::kIid, newPart.PutVoid(), writer.Put());
    if (SUCCEEDED(hr) && (!newPart || !writer))
        hr = E_FAIL;
    if (FAILED(hr)) {
        if (writer)
            writer->Close();
        return hr;
    }

    ComPtr<IStream> content;
    hr = ticket->GetStream(content.Put());
    if (SUCCEEDED(hr))
        hr = content->Seek(0, STREAM_SEEK_SET, nullptr);
    std::vector<unsigned char> buffer;
    if (SUCCEEDED(hr))
        hr = GuardResult([&] {
            buffer.resize(kCopyChunk);
            return S_OK;
        });
    while (SUCCEEDED(hr)) {
        ULONG read = 0;
        hr = content->Read(buffer.data(), kCopyChunk, &read);
        if (FAILED(hr) || read == 0)
            break;
        hr = WriteAll(writer.Get(), buffer.data(), read);
    }
    writer->Close();
    if (FAILED(hr)) {
        TraceEvent(kTraceFlagError, "the print ticket part %s could not be written: %s", name, FormatHresult(hr).c_str());
        return hr;  // a half-written ticket part is never handed out
    }
    *part = newPart.Detach();
    return S_OK;
}
