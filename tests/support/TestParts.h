#pragma once
// In-memory XPS parts for tests: sequence, document, page, print ticket and resources, with tickets
// attached. Their content is text; a part made through a test consumer is filled by its write stream.
#include <map>
#include <memory>
#include <string>

#include "framework/ComBase.h"
#include "framework/HeldPart.h"
#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"
#include "tests/support/TestObject.h"
#include "tests/support/TestStreams.h"

// The part-base operations shared by every part with content; answers IPartBase as well.
template <class Interface>
class CTestPart : public CComBase<Interface> {
public:
    using PartInterface = Interface;

    CTestPart(std::string partUri, std::string text) : uri(std::move(partUri)), content(std::make_shared<TestContent>())
    {
        content->bytes = std::move(text);
    }

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (object && iid == IPartBase::kIid) {
            *object = static_cast<IPartBase*>(this);
            this->AddRef();
            return S_OK;
        }
        return CComBase<Interface>::QueryInterface(iid, object);
    }
    HRESULT GetUri(std::string* out) override
    {
        if (!out)
            return E_POINTER;
        *out = uri;
        return S_OK;
    }
    HRESULT GetStream(IPrintReadStream** stream) override
    {
        if (!stream)
            return E_POINTER;
        *stream = CTestReadStream::Make(content->bytes).Detach();
        return S_OK;
    }
    HRESULT GetPartCompression(EXpsCompressionOptions* out) override
    {
        if (!out)
            return E_POINTER;
        *out = compression;
        return S_OK;
    }
    HRESULT SetPartCompression(EXpsCompressionOptions value) override
    {
        compression = value;
        return S_OK;
    }

    // A writer that fills this part's content (as GetNewEmptyPart hands out); its writes fail once
    // failAfter bytes are in.
    ComPtr<IPrintWriteStream> MakeWriter(std::size_t failAfter = std::string::npos)
    {
        content = std::make_shared<TestContent>();
        auto* writer = new CTestWriteStream(content);
        writer->failAfter = failAfter;
        ComPtr<IPrintWriteStream> held;
        held.Attach(writer);
        return held;
    }
    const std::string& Content() const { return content->bytes; }
    bool Closed() const { return content->closed; }

    std::string uri;
    std::shared_ptr<TestContent> content;
    EXpsCompressionOptions compression = Compression_Normal;
};

class CTestPrintTicketPart final : public CTestPart<IPartPrintTicket> {
public:
    using CTestPart::CTestPart;
};

// A resource of a kind the part loop does not dispatch (it is forwarded with SendXpsUnknown).
class CTestFontPart final : public CTestPart<IPartFont> {
public:
    using CTestPart::CTestPart;
    HRESULT GetFontProperties(std::string* contentType, EXpsFontOptions* options) override;
    HRESULT SetFontContent(const char* contentType) override;
    HRESULT SetFontOptions(EXpsFontOptions options) override;

    std::string fontContentType = "application/vnd.ms-opentype";
    EXpsFontOptions fontOptions = Font_Normal;
};

class CTestImagePart final : public CTestPart<IPartImage> {
public:
    using CTestPart::CTestPart;
    HRESULT GetImageProperties(std::string* contentType) override;
    HRESULT SetImageContent(const char* contentType) override;

    std::string imageContentType = "image/png";
};

class CTestFixedPage final : public CTestPart<IFixedPage> {
public:
    // An empty 8.5 x 11 inch page unless markup is given.
    explicit CTestFixedPage(std::string partUri, std::string markup = {}, IPartPrintTicket* pageTicket = nullptr);

    HRESULT GetPrintTicket(IPartPrintTicket** out) override;
    HRESULT SetPrintTicket(IPartPrintTicket* value) override;
    HRESULT GetPagePart(const char* partUri, IUnknown** part) override;
    HRESULT GetWriteStream(IPrintWriteStream** stream) override;
    HRESULT SetPagePart(IUnknown* part) override;
    HRESULT DeleteResource(const char* partUri) override;
    HRESULT GetXpsPartIterator(IXpsPartIterator** iterator) override;

    ComPtr<IPartPrintTicket> ticket;
    std::map<std::string, ComPtr<IUnknown>> resources;
};

// A fixed document or document sequence: a name and an optional ticket.
template <class Interface>
class CTestTicketHolder : public CComBase<Interface> {
public:
    explicit CTestTicketHolder(std::string partUri, IPartPrintTicket* partTicket = nullptr)
        : uri(std::move(partUri)), ticket(partTicket) {}

    HRESULT GetUri(std::string* out) override
    {
        if (!out)
            return E_POINTER;
        *out = uri;
        return S_OK;
    }
    // ResultNotFound when the part has no ticket.
    HRESULT GetPrintTicket(IPartPrintTicket** out) override { return CopyHeldPart(ticket, out); }
    HRESULT SetPrintTicket(IPartPrintTicket* value) override
    {
        ticket = value;
        return S_OK;
    }

    std::string uri;
    ComPtr<IPartPrintTicket> ticket;
};

using CTestFixedDocument = CTestTicketHolder<IFixedDocument>;
using CTestFixedDocumentSequence = CTestTicketHolder<IFixedDocumentSequence>;

class CTestXpsDocument final : public CComBase<IXpsDocument> {
public:
    HRESULT GetThumbnail(IPartThumbnail** out) override;
    HRESULT SetThumbnail(IPartThumbnail* value) override;

    ComPtr<IPartThumbnail> thumbnail;
};
