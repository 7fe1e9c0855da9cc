#include "host/package/PartFactory.h"

#include "host/package/DocumentParts.h"
#include "host/package/FixedPagePart.h"
#include "host/package/FontPart.h"
#include "host/package/PartName.h"
#include "host/package/PartWriteStream.h"
#include "host/package/TypedPart.h"
#include "host/package/XpsNames.h"

namespace {

// Makes the part, answers iid and gives the stream that fills it.
template <class PartClass, class... Args>
HRESULT MakePart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream, Args&&... args)
{
    ComPtr<PartClass> made;
    made.Attach(new PartClass(uri, nullptr, std::forward<Args>(args)...));
    ComPtr<IPrintWriteStream> writer;
    writer.Attach(new CPartWriteStream(static_cast<IUnknown*>(static_cast<IPartBase*>(made.Get())), made.Get()));
    ThrowIfFailed(made->QueryInterface(iid, part));
    *stream = writer.Detach();
    return S_OK;
}

// A FixedDocumentSequence or FixedDocument named uri, holding ticket (which may be null).
template <class Interface>
HRESULT MakeTicketHolder(const char* uri, IPartPrintTicket* ticket, Interface** made)
{
    if (!uri || !made)
        return E_POINTER;
    if (!part_name::IsValid(uri))
        return E_INVALIDARG;
    return GuardResult([&] {
        *made = new CTicketHolderPart<Interface>(uri, ticket);
        return S_OK;
    });
}

} // namespace

HRESULT CreateEmptyPart(const char* uri, REFIID iid, void** part, IPrintWriteStream** stream)
{
    if (!uri || !part || !stream)
        return E_POINTER;
    *part = nullptr;
    *stream = nullptr;
    if (!part_name::IsValid(uri))
        return E_INVALIDARG;
    return GuardResult([&] {
        if (iid == IFixedPage::kIid)
            return MakePart<CFixedPagePart>(uri, iid, part, stream, nullptr, PageResourceList{});
        if (iid == IPartFont::kIid)
            return MakePart<CFontPart>(uri, iid, part, stream, std::string(xps_names::kTypeFont), Font_Normal);
        if (iid == IPartImage::kIid)
            return MakePart<CImagePart>(uri, iid, part, stream, std::string());
        if (iid == IPartThumbnail::kIid)
            return MakePart<CThumbnailPart>(uri, iid, part, stream, std::string());
        if (iid == IPartPrintTicket::kIid)
            return MakePart<CPlainPart<IPartPrintTicket>>(uri, iid, part, stream);
        if (iid == IPartColorProfile::kIid)
            return MakePart<CPlainPart<IPartColorProfile>>(uri, iid, part, stream);
        if (iid == IPartResourceDictionary::kIid)
            return MakePart<CPlainPart<IPartResourceDictionary>>(uri, iid, part, stream);
        if (iid == IPartBase::kIid)
            return MakePart<CPlainPart<IPartBase>>(uri, iid, part, stream);
        return E_NOINTERFACE;
    });
}

HRESULT CreateXpsDocument(IPartThumbnail* thumbnail, IXpsDocument** document)
{
    if (!document)
        return E_POINTER;
    return GuardResult([&] {
        *document = new CXpsDocumentPart(thumbnail);
        return S_OK;
    });
}

HRESULT CreateFixedDocumentSequence(const char* uri, IPartPrintTicket* ticket, IFixedDocumentSequence** sequence)
{
    return MakeTicketHolder(uri, ticket, sequence);
}

HRESULT CreateFixedDocument(const char* uri, IPartPrintTicket* ticket, IFixedDocument** document)
{
    return MakeTicketHolder(uri, ticket, document);
}
