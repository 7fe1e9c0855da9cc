#include "framework/PageMediaSizeRecord.h"

#include <span>

#include "framework/XDException.h"
#include "framework/XPathBuilder.h"

namespace {

constexpr std::string_view kUnitWords[] = {"mm", "inch"};
constexpr std::string_view kOffOnWords[] = {"Off", "On"};
constexpr char kPaperDataName[] = "PageMediaSizeData";
constexpr char kWidthParameter[] = "PageMediaSizeMediaSizeWidth";
constexpr char kHeightParameter[] = "PageMediaSizeMediaSizeHeight";

// The private paper properties inside PageMediaSizeData, in the order they are read and written.
struct PaperDataField {
    std::string_view name;
    std::span<const std::string_view> words;  // empty: an integer value
};
constexpr PaperDataField kPaperData[] = {
    {"CustomUnitType", kUnitWords}, {"TransverseMode", kOffOnWords}, {"ThicknessType", kThicknessWords},
    {"UseFixedMargin", kOffOnWords}, {"DocMarginLeft", {}},           {"DocMarginRight", {}},
    {"DocMarginTop", {}},            {"DocMarginBottom", {}},         {"OutMarginLeft", {}},
    {"OutMarginRight", {}},          {"OutMarginTop", {}},            {"OutMarginBottom", {}},
    {"CustomPaperTemp", {}},
};

// A field of kPaperData as a number; a word field as the index of its word.
std::int32_t FieldValue(const PageMediaSizeRecord& r, std::size_t field)
{
    switch (field) {
    case 0: return r.customUnitIsInch ? 1 : 0;
    case 1: return r.transverse ? 1 : 0;
    case 2: return static_cast<std::int32_t>(r.thickness);
    case 3: return r.fixedMargin ? 1 : 0;
    case 4: return r.documentMarginLeft;
    case 5: return r.documentMarginRight;
    case 6: return r.documentMarginTop;
    case 7: return r.documentMarginBottom;
    case 8: return r.outputMarginLeft;
    case 9: return r.outputMarginRight;
    case 10: return r.outputMarginTop;
    case 11: return r.outputMarginBottom;
    default: return r.customPaperTemplate;
    }
}

void SetFieldValue(PageMediaSizeRecord& r, std::size_t field, std::int32_t value)
{
    switch (field) {
    case 0: r.customUnitIsInch = value != 0; break;
    case 1: r.transverse = value != 0; break;
    case 2: r.thickness = static_cast<std::uint32_t>(value); break;
    case 3: r.fixedMargin = value != 0; break;
    case 4: r.documentMarginLeft = value; break;
    case 5: r.documentMarginRight = value; break;
    case 6: r.documentMarginTop = value; break;
    case 7: r.documentMarginBottom = value; break;
    case 8: r.outputMarginLeft = value; break;
    case 9: r.outputMarginRight = value; break;
    case 10: r.outputMarginTop = value; break;
    case 11: r.outputMarginBottom = value; break;
    default: r.customPaperTemplate = static_cast<std::int16_t>(value); break;
    }
}

// Reads one private paper property; absence sets defaulted. A word that is none of the field's
// words leaves the field as it was.
HRESULT ReadPaperDataField(const CTicketDocument& document, std::size_t field, PageMediaSizeRecord* record,
                           bool* defaulted)
{
    const PaperDataField& data = kPaperData[field];
    HRESULT hr;
    if (data.words.empty()) {
        std::int32_t value = 0;
        hr = document.GetPrivatePropertyInt(data.name, &value);
        if (hr == S_OK)
            SetFieldValue(*record, field, value);
    } else {
        std::string text;
        hr = document.GetPrivatePropertyText(data.name, &text);
        const int index = hr == S_OK ? CTicketDocument::WordIndex(text, data.words) : -1;
        if (index >= 0)
            SetFieldValue(*record, field, index);
    }
    if (hr == ResultNotFound) {
        *defaulted = true;
        return S_OK;
    }
    return hr;
}

// The paper size: plain scored properties, or for a custom size parameters the ticket initialises.
HRESULT WriteMediaSize(CTicketDocument& document, XmlNode root, XmlNode option, std::string_view property,
                       std::string_view parameter, std::int32_t value, bool custom)
{
    XmlNode scored;
    if (!custom) {
        HRESULT hr = document.CreateIntegerScoredProperty(document.pskPrefix, property, value, &scored);
        return FAILED(hr) ? hr : document.AppendChild(option, scored);
    }
    XmlNode reference, init;
    HRESULT hr = document.CreateIntegerParameter(parameter, value, &reference, &init);
    if (SUCCEEDED(hr))
        hr = document.CreateScoredPropertyWithChild(document.pskPrefix, property, reference, &scored);
    if (SUCCEEDED(hr))
        hr = document.AppendChild(option, scored);
    if (SUCCEEDED(hr))
        hr = document.AppendChild(root, init);
    return hr;
}

HRESULT WritePaperData(CTicketDocument& document, XmlNode root, const PageMediaSizeRecord& record)
{
    XmlNode container;
    HRESULT hr = document.CreateProperty(document.privatePrefix, kPaperDataName, &container);
    for (std::size_t field = 0; SUCCEEDED(hr) && field < std::size(kPaperData); ++field) {
        const PaperDataField& data = kPaperData[field];
        const std::int32_t value = FieldValue(record, field);
        XmlNode property;
        if (data.words.empty())
            hr = document.CreateIntegerPropertyValue(document.privatePrefix, data.name, value, &property);
        else
            hr = document.CreatePropertyValue(document.privatePrefix, data.name, "string",
                                              data.words[static_cast<std::size_t>(value)], &property);
        if (SUCCEEDED(hr))
            hr = document.AppendChild(container, property);
    }
    if (SUCCEEDED(hr))
        hr = document.AppendChild(root, container);
    return hr;
}

} // namespace

HRESULT ReadPageMediaSize(const CTicketDocument& document, PageMediaSizeRecord* record)
{
    if (!record)
        return E_POINTER;
    bool defaulted = false;
    std::string name;
    bool isPrivate = false;
    HRESULT hr = document.GetOptionName(document.pskPrefix, "PageMediaSize", &name, &isPrivate);
    if (hr == ResultNotFound)
        defaulted = true;
    if (hr == S_OK) {
        std::int32_t width = 0, height = 0;
        // The size counts only whole: name and both lengths are stored together.
        if (document.GetScoredPropertyInt("PageMediaSize", "MediaSizeWidth", &width) == S_OK &&
            document.GetScoredPropertyInt("PageMediaSize", "MediaSizeHeight", &height) == S_OK) {
            record->mediaName = std::move(name);
            record->mediaNameIsPrivate = isPrivate;
            record->width = width;
            record->height = height;
        } else {
            defaulted = true;
        }
    }

    hr = document.GetOptionName(document.pskPrefix, "PageOrientation", &name, &isPrivate);
    if (hr == ResultNotFound)
        defaulted = true;
    if (hr == S_OK) {
        const int index = CTicketDocument::WordIndex(name, kOrientationWords);
        if (index >= 0)
            record->orientation = static_cast<std::uint32_t>(index);
    }

    hr = GuardResult([&] {
        CXPathBuilder path(document.psfPrefix);
        const HRESULT built = path.AddProperty(document.privatePrefix, kPaperDataName);
        return FAILED(built) ? built : document.NodeExists(path.GetPath());
    });
    if (hr == ResultNotFound)
        return ResultDefaulted;
    // The members are found anywhere in the ticket, not only inside PageMediaSizeData.
    for (std::size_t field = 0; SUCCEEDED(hr) && field < std::size(kPaperData); ++field)
        hr = ReadPaperDataField(document, field, record, &defaulted);
    if (FAILED(hr))
        return hr;
    return defaulted ? ResultDefaulted : S_OK;
}

HRESULT WritePageMediaSize(CTicketDocument& document, const PageMediaSizeRecord& record)
{
    // Checked before anything is removed, so that a bad record leaves the ticket as it was.
    if (record.orientation >= std::size(kOrientationWords) || record.thickness >= std::size(kThicknessWords))
        return E_INVALIDARG;
    HRESULT hr = document.RemoveFeature("PageMediaSize");
    if (SUCCEEDED(hr))
        hr = document.RemoveFeature("PageOrientation");
    if (SUCCEEDED(hr))
        hr = document.RemovePrivateProperty(kPaperDataName);
    if (SUCCEEDED(hr))
        hr = document.RemoveParameterInit(kWidthParameter);
    if (SUCCEEDED(hr))
        hr = document.RemoveParameterInit(kHeightParameter);
    XmlNode root;
    if (SUCCEEDED(hr))
        hr = document.SelectRoot(&root);
    if (hr == S_FALSE)
        hr = ResultNotFound;

    XmlNode feature, option;
    if (SUCCEEDED(hr))
        hr = document.CreateFeatureWithOption(false, "PageMediaSize", record.mediaNameIsPrivate, record.mediaName,
                                              &feature, &option);
    if (SUCCEEDED(hr))
        hr = document.AppendChild(root, feature);
    const bool custom = record.mediaName == kCustomMediaSize;
    if (SUCCEEDED(hr))
        hr = WriteMediaSize(document, root, option, "MediaSizeWidth", kWidthParameter, record.width, custom);
    if (SUCCEEDED(hr))
        hr = WriteMediaSize(document, root, option, "MediaSizeHeight", kHeightParameter, record.height, custom);

    if (SUCCEEDED(hr))
        hr = document.CreateFeatureWithOption(false, "PageOrientation", false, kOrientationWords[record.orientation],
                                              &feature, &option);
    if (SUCCEEDED(hr))
        hr = document.AppendChild(root, feature);
    if (SUCCEEDED(hr))
        hr = WritePaperData(document, root, record);
    return FAILED(hr) ? hr : S_OK;
}
