#pragma once
// A page: its markup, its print ticket and its resources (fonts, images, colour profiles, resource
// dictionaries), each resource named by its absolute part name.
#include "host/package/Part.h"
#include "host/package/PartIterator.h"
#include "platform/com/ComPtr.h"

class CFixedPagePart final : public CPart<IFixedPage> {
public:
    CFixedPagePart(std::string uri, std::shared_ptr<const CPartContent> markup, ComPtr<IPartPrintTicket> ticket,
                   PageResourceList resources)
        : CPart(std::move(uri), std::move(markup)), ticket_(std::move(ticket)), resources_(std::move(resources)) {}

    HRESULT GetPrintTicket(IPartPrintTicket** ticket) override;
    // A null ticket removes the page's own ticket.
    HRESULT SetPrintTicket(IPartPrintTicket* ticket) override;
    HRESULT GetPagePart(const char* uri, IUnknown** part) override;
    HRESULT GetWriteStream(IPrintWriteStream** stream) override;
    // A resource of a name the page already has replaces the old one.
    HRESULT SetPagePart(IUnknown* part) override;
    HRESULT DeleteResource(const char* uri) override;
    HRESULT GetXpsPartIterator(IXpsPartIterator** iterator) override;

private:
    PageResourceList::iterator FindResource(const char* uri);

    ComPtr<IPartPrintTicket> ticket_;
    PageResourceList resources_;
};
