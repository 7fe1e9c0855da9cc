#include "host/package/XmlScanner.h"

#include <new>

#include "framework/SaxHandlerBase.h"
#include "framework/SequentialReadAdapter.h"
#include "framework/XDException.h"
#include "platform/com/ComPtr.h"

namespace {

// Hands each start tag to the scan's handler and keeps the depth; every other event is ignored.
class CStartTagScanner final : public CSaxHandlerBase {
public:
    explicit CStartTagScanner(const XmlStartTagHandler& handler) : handler_(handler) {}

    HRESULT startElement(std::string_view uri, std::string_view localName, std::string_view,
                         SaxAttributes attributes) override
    {
        return GuardResult([&] {
            tag_.localName = localName;
            tag_.namespaceUri = uri;
            tag_.depth = depth_++;
            tag_.attributes.clear();
            for (const SaxAttribute& a : attributes) {
                // Namespace declarations come as attributes of the xmlns namespace; a scan wants
                // only what the element says.
                if (a.uri != kXmlnsNamespace)
                    tag_.attributes.push_back({a.localName, a.uri, a.value});
            }
            return handler_(tag_);
        });
    }
    HRESULT endElement(std::string_view, std::string_view, std::string_view) override
    {
        --depth_;
        return S_OK;
    }

private:
    static constexpr std::string_view kXmlnsNamespace = "http://www.w3.org/2000/xmlns/";

    const XmlStartTagHandler& handler_;
    XmlStartTag tag_;
    int depth_ = 0;
};

} // namespace

std::string_view XmlStartTag::Attribute(std::string_view name) const
{
    for (const XmlAttribute& a : attributes) {
        if (a.localName == name && a.namespaceUri.empty())
            return a.value;
    }
    return {};
}

HRESULT ScanXml(IPrintReadStream* stream, const XmlStartTagHandler& handler, std::string* error)
{
    if (!stream)
        return E_POINTER;
    ComPtr<ISequentialStream> input;
    HRESULT hr = CSequentialReadAdapter::Create(stream, input.Put());
    if (FAILED(hr))
        return hr;
    ComPtr<CStartTagScanner> scanner;
    scanner.Attach(new (std::nothrow) CStartTagScanner(handler));
    if (!scanner)
        return E_OUTOFMEMORY;
    std::string reason;
    hr = ParseSax(input.Get(), scanner.Get(), XmlDocumentType::kRefused, &reason);
    if (error)
        *error = reason.empty() ? std::string() : "not well-formed XML at " + reason;
    return hr;
}
