#include "tests/support/TestParts.h"

#include <vector>

namespace {

constexpr char kEmptyPage[] =
    "<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\" Width=\"816\" Height=\"1056\" xml:lang=\"en-US\"/>";

// Walks a snapshot of a page's resources.
class CTestPartIterator final : public CComBase<IXpsPartIterator> {
public:
    explicit CTestPartIterator(const std::map<std::string, ComPtr<IUnknown>>& resources)
        : items(resources.begin(), resources.end()) {}

    void Reset() override { index = 0; }
    HRESULT Current(std::string* uri, IUnknown** part) override
    {
        if (!uri || !part)
            return E_POINTER;
        if (index >= items.size())
            return E_FAIL;
        *uri = items[index].first;
        return items[index].second.CopyTo(part);
    }
    BOOL IsDone() override { return index >= items.size(); }
    void Next() override { ++index; }

private:
    std::vector<std::pair<std::string, ComPtr<IUnknown>>> items;
    std::size_t index = 0;
};

HRESULT CopyText(const std::string& text, std::string* out)
{
    if (!out)
        return E_POINTER;
    *out = text;
    return S_OK;
}

} // namespace

HRESULT CTestFontPart::GetFontProperties(std::string* contentType, EXpsFontOptions* options)
{
    if (!contentType || !options)
        return E_POINTER;
    *contentType = fontContentType;
    *options = fontOptions;
    return S_OK;
}

HRESULT CTestFontPart::SetFontContent(const char* contentType)
{
    if (!contentType)
        return E_POINTER;
    fontContentType = contentType;
    return S_OK;
}

HRESULT CTestFontPart::SetFontOptions(EXpsFontOptions options)
{
    fontOptions = options;
    return S_OK;
}

HRESULT CTestImagePart::GetImageProperties(std::string* contentType) { return CopyText(imageContentType, contentType); }

HRESULT CTestImagePart::SetImageContent(const char* contentType)
{
    if (!contentType)
        return E_POINTER;
    imageContentType = contentType;
    return S_OK;
}

CTestFixedPage::CTestFixedPage(std::string partUri, std::string markup, IPartPrintTicket* pageTicket)
    : CTestPart(std::move(partUri), markup.empty() ? std::string(kEmptyPage) : std::move(markup)), ticket(pageTicket)
{
}

HRESULT CTestFixedPage::GetPrintTicket(IPartPrintTicket** out) { return CopyHeldPart(ticket, out); }

HRESULT CTestFixedPage::SetPrintTicket(IPartPrintTicket* value)
{
    ticket = value;
    return S_OK;
}

HRESULT CTestFixedPage::GetPagePart(const char* partUri, IUnknown** part)
{
    if (!partUri || !part)
        return E_POINTER;
    *part = nullptr;
    const auto it = resources.find(partUri);
    return it == resources.end() ? ResultNotFound : it->second.CopyTo(part);
}

HRESULT CTestFixedPage::GetWriteStream(IPrintWriteStream** stream)
{
    if (!stream)
        return E_POINTER;
    *stream = MakeWriter().Detach();
    return S_OK;
}

HRESULT CTestFixedPage::SetPagePart(IUnknown* part)
{
    ComPtr<IPartBase> base;
    HRESULT hr = QueryTo(part, &base);
    std::string partUri;
    if (SUCCEEDED(hr))
        hr = base->GetUri(&partUri);
    if (SUCCEEDED(hr))
        resources[partUri] = part;
    return hr;
}

HRESULT CTestFixedPage::DeleteResource(const char* partUri)
{
    if (!partUri)
        return E_POINTER;
    return resources.erase(partUri) ? S_OK : ResultNotFound;
}

HRESULT CTestFixedPage::GetXpsPartIterator(IXpsPartIterator** iterator)
{
    if (!iterator)
        return E_POINTER;
    *iterator = new CTestPartIterator(resources);
    return S_OK;
}

HRESULT CTestXpsDocument::GetThumbnail(IPartThumbnail** out) { return CopyHeldPart(thumbnail, out); }

HRESULT CTestXpsDocument::SetThumbnail(IPartThumbnail* value)
{
    thumbnail = value;
    return S_OK;
}
