#include "framework/ImageableSizeRecord.h"

#include "framework/XDException.h"
#include "framework/XPathBuilder.h"

namespace {

// One value: its keyword property, whether it sits inside ImageableArea, and where the record keeps it.
struct ImageableField {
    const char* name;
    bool inArea;
    std::int32_t ImageableSizeRecord::*value;
};
constexpr ImageableField kFields[] = {
    {"ImageableSizeWidth", false, &ImageableSizeRecord::imageableWidth},
    {"ImageableSizeHeight", false, &ImageableSizeRecord::imageableHeight},
    {"OriginWidth", true, &ImageableSizeRecord::originWidth},
    {"OriginHeight", true, &ImageableSizeRecord::originHeight},
    {"ExtentWidth", true, &ImageableSizeRecord::extentWidth},
    {"ExtentHeight", true, &ImageableSizeRecord::extentHeight},
};

} // namespace

HRESULT ReadImageableSize(const CTicketDocument& document, ImageableSizeRecord* record)
{
    if (!record)
        return E_POINTER;
    return GuardResult([&] {
        const std::string& psk = document.pskPrefix;
        CXPathBuilder size(document.psfPrefix);
        HRESULT hr = size.AddProperty(psk, "PageImageableSize");
        if (SUCCEEDED(hr))
            hr = document.NodeExists(size.GetPath());
        for (const ImageableField& field : kFields) {
            if (FAILED(hr))
                break;
            CXPathBuilder path = size;
            if (field.inArea)
                hr = path.AddProperty(psk, "ImageableArea");
            if (SUCCEEDED(hr))
                hr = path.AddProperty(psk, field.name);
            if (SUCCEEDED(hr))
                hr = document.GetValueInt(path.GetPath(), &(record->*field.value));
            if (hr == S_FALSE)
                hr = ResultNotFound;
        }
        return hr;
    });
}
