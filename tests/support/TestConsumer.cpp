#include "tests/support/TestConsumer.h"

#include <algorithm>

#include "framework/PartUri.h"
#include "tests/support/TestParts.h"

namespace {

template <class Part>
HRESULT MakePart(const char* uri, std::size_t failAfter, void** part, IPrintWriteStream** stream)
{
    ComPtr<Part> made = MakeTestObject<Part>(uri, std::string());
    *stream = made->MakeWriter(failAfter).Detach();
    *part = static_cast<typename Part::PartInterface*>(made.Detach());
    return S_OK;
}

} // namespace

HRESULT CTestConsumer::Record(SentKind kind, IUnknown* part)
{
    if (!part)
        return E_POINTER;
    if (FAILED(sendResult))
        return sendResult;
    records.push_back({kind, PartUri(part), ComPtr<IUnknown>(part)});
    return S_OK;
}

HRESULT CTestConsumer::SendXpsUnknown(IUnknown* part) { return Record(SentKind::Unknown, part); }
HRESULT CTestConsumer::SendXpsDocument(IXpsDocument* document) { return Record(SentKind::XpsDocument, document); }
HRESULT CTestConsumer::SendFixedDocumentSequence(IFixedDocumentSequence* sequence) { return Record(SentKind::Sequence, sequence); }
HRESULT CTestConsumer::SendFixedDocument(IFixedDocument* document) { return Record(SentKind::Document, document); }
HRESULT CTestConsumer::SendFixedPage(IFixedPage* page) { return Record(SentKind::Page, page); }

HRESULT CTestConsumer::CloseSender()
{
    records.push_back({SentKind::Close, std::string(), nullptr});
    return closeResult;
}

HRESULT CTestConsumer::GetNewEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream)
{
    if (!uri || !part || !stream)
        return E_POINTER;
    *part = nullptr;
    *stream = nullptr;
    HRESULT hr = E_NOINTERFACE;
    if (iid == IFixedPage::kIid)
        hr = MakePart<CTestFixedPage>(uri, newPartWritesFailAfter, part, stream);
    else if (iid == IPartPrintTicket::kIid)
        hr = MakePart<CTestPrintTicketPart>(uri, newPartWritesFailAfter, part, stream);
    else if (iid == IPartFont::kIid)
        hr = MakePart<CTestFontPart>(uri, newPartWritesFailAfter, part, stream);
    else if (iid == IPartImage::kIid)
        hr = MakePart<CTestImagePart>(uri, newPartWritesFailAfter, part, stream);
    if (SUCCEEDED(hr))
        records.push_back({SentKind::NewEmptyPart, uri, ComPtr<IUnknown>(static_cast<IUnknown*>(*part))});
    return hr;
}

std::vector<SentKind> CTestConsumer::Kinds() const
{
    std::vector<SentKind> kinds;
    for (const SentRecord& record : records)
        kinds.push_back(record.kind);
    return kinds;
}

std::size_t CTestConsumer::Count(SentKind kind) const
{
    return static_cast<std::size_t>(
        std::count_if(records.begin(), records.end(), [&](const SentRecord& record) { return record.kind == kind; }));
}
