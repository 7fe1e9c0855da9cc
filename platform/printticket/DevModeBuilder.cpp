#include "platform/printticket/DevModeBuilder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/com/Bstr.h"
#include "platform/printticket/DevModePrivatePart.h"
#include "platform/printticket/PrintTicketProvider.h"

namespace printschema {

namespace {

struct PaperCode {
    const char* keyword;
    std::int16_t code;
};
constexpr PaperCode kPaperCodes[] = {
    {"NorthAmericaLetter", DMPAPER_LETTER},     {"NorthAmericaTabloid", DMPAPER_TABLOID},
    {"NorthAmericaLegal", DMPAPER_LEGAL},       {"NorthAmericaStatement", DMPAPER_STATEMENT},
    {"NorthAmericaExecutive", DMPAPER_EXECUTIVE}, {"ISOA3", DMPAPER_A3},
    {"ISOA4", DMPAPER_A4},                      {"ISOA5", DMPAPER_A5},
    {"JISB4", DMPAPER_B4},                      {"JISB5", DMPAPER_B5},
    {"NorthAmericaNumber10Envelope", DMPAPER_ENV_10}, {"ISODLEnvelope", DMPAPER_ENV_DL},
    {"ISOC5Envelope", DMPAPER_ENV_C5},          {"ISOC4Envelope", DMPAPER_ENV_C4},
    {"ISOC6Envelope", DMPAPER_ENV_C6},          {"NorthAmericaMonarchEnvelope", DMPAPER_ENV_MONARCH},
    {"JapanHagakiPostcard", DMPAPER_JAPANESE_POSTCARD}, {"ISOA6", DMPAPER_A6},
    {"JISB6", DMPAPER_B6_JIS},
};

struct BinCode {
    const char* keyword;
    std::int16_t code;
};
constexpr BinCode kBinCodes[] = {
    {"AutoSelect", DMBIN_AUTO},   {"Manual", DMBIN_MANUAL},           {"Cassette", DMBIN_CASSETTE},
    {"Tractor", DMBIN_TRACTOR},   {"High", DMBIN_UPPER},              {"Low", DMBIN_LOWER},
    {"Middle", DMBIN_MIDDLE},     {"EnvelopeFeed", DMBIN_ENVELOPE},   {"LargeCapacity", DMBIN_LARGECAPACITY},
};

std::int16_t Short(std::int64_t value)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}

void CopyName(char16_t (&field)[32], const std::string& utf8)
{
    const std::u16string text = Utf8ToUtf16(utf8);
    const std::size_t count = std::min<std::size_t>(text.size(), 31);
    std::copy_n(text.begin(), count, field);
    field[count] = u'\0';
}

// The chosen option's keyword local name; empty when absent or not a keyword.
std::string KeywordOption(const PsNode& ticket, const char* feature)
{
    const PsNode* option = SelectedOption(ticket, Keyword(feature));
    return option && option->name.ns == kKeywordsNs ? option->name.local : std::string();
}

std::optional<std::int64_t> ScoredInteger(const PsNode& ticket, const char* feature, const char* property)
{
    const PsNode* option = SelectedOption(ticket, Keyword(feature));
    const PsNode* holder = option ? option->Find(PsKind::kScoredProperty, Keyword(property)) : nullptr;
    return holder ? IntegerOf(ticket, *holder) : std::nullopt;
}

class CDevModeFiller {
public:
    CDevModeFiller(const PrinterDescription& printer, const PsNode& ticket, DEVMODE* devmode)
        : printer_(printer), ticket_(ticket), dm_(*devmode) {}

    void Fill()
    {
        CopyName(dm_.dmDeviceName, printer_.name);
        dm_.dmSpecVersion = 0x0401;
        dm_.dmDriverVersion = 0x0100;
        dm_.dmSize = sizeof(DEVMODE);
        dm_.dmScale = 100;
        dm_.dmFields |= DM_SCALE;
        FillPaper();
        FillOrientation();
        FillCopiesAndCollate();
        FillSource();
        FillResolution();
        FillColorAndDuplex();
    }

private:
    void FillPaper()
    {
        const PsNode* paper = SelectedOption(ticket_, Keyword("PageMediaSize"));
        const auto width = ScoredInteger(ticket_, "PageMediaSize", "MediaSizeWidth");
        const auto height = ScoredInteger(ticket_, "PageMediaSize", "MediaSizeHeight");
        if (!paper)
            return;
        dm_.dmPaperSize = 0;
        if (paper->name.ns == kKeywordsNs)
            for (const PaperCode& known : kPaperCodes)
                if (paper->name.local == known.keyword)
                    dm_.dmPaperSize = known.code;
        dm_.dmFields |= DM_PAPERSIZE;
        if (width && height) {
            dm_.dmPaperWidth = Short((*width + 50) / 100);   // tenths of a millimetre
            dm_.dmPaperLength = Short((*height + 50) / 100);
            dm_.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
        }
        CopyName(dm_.dmFormName, paper->name.local);
        dm_.dmFields |= DM_FORMNAME;
    }

    void FillOrientation()
    {
        const std::string orientation = KeywordOption(ticket_, "PageOrientation");
        if (orientation.empty())
            return;
        dm_.dmOrientation = orientation.find("Landscape") != std::string::npos ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        dm_.dmFields |= DM_ORIENTATION;
    }

    void FillCopiesAndCollate()
    {
        if (const PsNode* copies = ticket_.Find(PsKind::kParameterInit, Keyword("JobCopiesAllDocuments")))
            if (const auto count = IntegerOf(ticket_, *copies)) {
                dm_.dmCopies = Short(std::max<std::int64_t>(1, *count));
                dm_.dmFields |= DM_COPIES;
            }
        std::string collate = KeywordOption(ticket_, "DocumentCollate");
        if (collate.empty())
            collate = KeywordOption(ticket_, "JobCollateAllDocuments");
        if (collate == "Collated" || collate == "Uncollated") {
            dm_.dmCollate = collate == "Collated" ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
            dm_.dmFields |= DM_COLLATE;
        }
    }

    void FillSource()
    {
        const PsNode* bin = SelectedOption(ticket_, Keyword("PageInputBin"));
        if (!bin || bin->name.Empty())
            return;
        if (bin->name.ns == kKeywordsNs) {
            for (const BinCode& known : kBinCodes)
                if (bin->name.local == known.keyword)
                    dm_.dmDefaultSource = known.code;
        } else if (const FeatureDef* bins = printer_.FindFeature(Keyword("PageInputBin"))) {
            for (std::size_t i = 0; i < bins->options.size(); ++i)
                if (bins->options[i].name == bin->name)
                    dm_.dmDefaultSource = Short(DMBIN_USER + static_cast<std::int64_t>(i));
        }
        if (dm_.dmDefaultSource != 0)
            dm_.dmFields |= DM_DEFAULTSOURCE;
    }

    void FillResolution()
    {
        const auto x = ScoredInteger(ticket_, "PageResolution", "ResolutionX");
        const auto y = ScoredInteger(ticket_, "PageResolution", "ResolutionY");
        if (!x || !y)
            return;
        dm_.dmPrintQuality = Short(*x);
        dm_.dmYResolution = Short(*y);
        dm_.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    }

    void FillColorAndDuplex()
    {
        const std::string color = KeywordOption(ticket_, "PageOutputColor");
        if (!color.empty()) {
            dm_.dmColor = color == "Color" ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
            dm_.dmFields |= DM_COLOR;
        }
        const std::string duplex = KeywordOption(ticket_, "JobDuplexAllDocumentsContiguously");
        if (!duplex.empty()) {
            dm_.dmDuplex = duplex == "TwoSidedLongEdge"    ? DMDUP_VERTICAL
                           : duplex == "TwoSidedShortEdge" ? DMDUP_HORIZONTAL
                                                           : DMDUP_SIMPLEX;
            dm_.dmFields |= DM_DUPLEX;
        }
    }

    const PrinterDescription& printer_;
    const PsNode& ticket_;
    DEVMODE& dm_;
};

bool IsPrivate(const PsName& name) { return name.ns == kPrivateKeywordNamespace; }

std::string ValueText(const PsValue& value) { return value.qname ? value.qname->local : value.text; }

void CollectProperty(const PsNode& ticket, const PsNode& property, const std::string& path, bool privateAbove,
                     std::vector<DevModePrivateEntry>* entries)
{
    const bool isPrivate = privateAbove || IsPrivate(property.name);
    const std::string here = path.empty() ? property.name.local : path + "/" + property.name.local;
    if (isPrivate) {
        const char kind = property.kind == PsKind::kScoredProperty ? 'S' : 'P';
        if (const PsValue* value = property.Value())
            entries->push_back({kind, here, ValueText(*value)});
        else if (const auto number = property.First(PsKind::kParameterRef) ? IntegerOf(ticket, property) : std::nullopt)
            entries->push_back({kind, here, std::to_string(*number)});
    }
    for (const PsNode& child : property.children)
        if (child.kind == PsKind::kProperty)
            CollectProperty(ticket, child, here, isPrivate, entries);
}

void CollectFeature(const PsNode& ticket, const PsNode& feature, const std::string& path,
                    std::vector<DevModePrivateEntry>* entries)
{
    const std::string here = path.empty() ? feature.name.local : path + "/" + feature.name.local;
    const PsNode* option = feature.First(PsKind::kOption);
    if (option && (IsPrivate(feature.name) || IsPrivate(option->name)))
        entries->push_back({'F', here, option->name.local});
    for (const PsNode& child : feature.children) {
        if (child.kind == PsKind::kFeature)
            CollectFeature(ticket, child, here, entries);
        else if (child.kind == PsKind::kProperty || child.kind == PsKind::kScoredProperty)
            CollectProperty(ticket, child, here, false, entries);
    }
    if (option)
        for (const PsNode& child : option->children)
            if (child.kind == PsKind::kProperty || child.kind == PsKind::kScoredProperty)
                CollectProperty(ticket, child, here, false, entries);
}

} // namespace

std::vector<DevModePrivateEntry> PrivateEntriesOf(const PsNode& ticket)
{
    std::vector<DevModePrivateEntry> entries;
    for (const PsNode& child : ticket.children) {
        if (child.kind == PsKind::kFeature)
            CollectFeature(ticket, child, "", &entries);
        else if (child.kind == PsKind::kProperty)
            CollectProperty(ticket, child, "", false, &entries);
        else if (child.kind == PsKind::kParameterInit && IsPrivate(child.name))
            if (const PsValue* value = child.Value())
                entries.push_back({'I', child.name.local, ValueText(*value)});
    }
    return entries;
}

HRESULT BuildDevMode(const PrinterDescription& printer, const PsNode& ticket, std::vector<std::uint8_t>* bytes,
                     std::string* error)
{
    const std::vector<std::uint8_t> privatePart = EncodeDevModePrivatePart(PrivateEntriesOf(ticket));
    if (privatePart.size() > std::numeric_limits<std::uint16_t>::max()) {
        *error = "the ticket's private settings take " + std::to_string(privatePart.size()) +
                 " bytes, more than the 65535 a device mode can carry";
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    }
    DEVMODE devmode{};
    CDevModeFiller(printer, ticket, &devmode).Fill();
    devmode.dmDriverExtra = static_cast<std::uint16_t>(privatePart.size());
    bytes->resize(sizeof(DEVMODE) + privatePart.size());
    std::memcpy(bytes->data(), &devmode, sizeof(DEVMODE));
    std::memcpy(bytes->data() + sizeof(DEVMODE), privatePart.data(), privatePart.size());
    return S_OK;
}

} // namespace printschema
