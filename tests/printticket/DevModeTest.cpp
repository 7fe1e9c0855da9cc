// Device modes: the public fields from the keywords, the private part from the private settings.
#include <cstring>

#include <gtest/gtest.h>

#include "platform/com/ComPtr.h"
#include "tests/printticket/TicketTestSupport.h"

using namespace pttest;

namespace {

// Converts ticket on printer; the device mode's bytes (public and private part) or empty on failure.
std::vector<std::uint8_t> Convert(const char* printer, const std::string& ticket, HRESULT* hr = nullptr,
                                  std::string* message = nullptr)
{
    HPTPROVIDER provider = nullptr;
    EXPECT_EQ(PTOpenProvider(printer, 1, &provider), S_OK);
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnText(ticket, stream.Put()), S_OK);
    std::uint32_t size = 0;
    DEVMODE* devmode = nullptr;
    CBstr error;
    const HRESULT result =
        PTConvertPrintTicketToDevMode(provider, stream.Get(), kUserDefaultDevmode, kPTJobScope, &size, &devmode, error.Put());
    if (hr)
        *hr = result;
    if (message)
        *message = error.Utf8();
    std::vector<std::uint8_t> bytes;
    if (SUCCEEDED(result)) {
        const auto* begin = reinterpret_cast<const std::uint8_t*>(devmode);
        bytes.assign(begin, begin + size);
    }
    EXPECT_EQ(PTReleaseMemory(devmode), S_OK);
    EXPECT_EQ(PTCloseProvider(provider), S_OK);
    return bytes;
}

DEVMODE PublicPart(const std::vector<std::uint8_t>& bytes)
{
    DEVMODE devmode{};
    EXPECT_GE(bytes.size(), sizeof(DEVMODE));
    if (bytes.size() >= sizeof(DEVMODE))
        std::memcpy(&devmode, bytes.data(), sizeof(DEVMODE));
    return devmode;
}

std::string Utf8(const char16_t* text) { return Utf16ToUtf8(std::u16string(text)); }

std::string PrivateValue(const std::vector<std::uint8_t>& bytes, char kind, const std::string& path)
{
    std::vector<DevModePrivateEntry> entries;
    EXPECT_TRUE(ReadDevModePrivatePart(reinterpret_cast<const DEVMODE*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()), &entries));
    for (const DevModePrivateEntry& entry : entries)
        if (entry.kind == kind && entry.path == path)
            return entry.value;
    return "<absent>";
}

TEST(DevMode, IsoA5Landscape600HasTheExpectedCodes)
{
    const auto bytes = Convert(kDefaultPrinterName, Ticket(R"(
        <psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA5"/></psf:Feature>
        <psf:Feature name="psk:PageOrientation"><psf:Option name="psk:Landscape"/></psf:Feature>
        <psf:Feature name="psk:PageResolution"><psf:Option name="xc:Resolution600x600"/></psf:Feature>
        <psf:Feature name="psk:JobDuplexAllDocumentsContiguously"><psf:Option name="psk:TwoSidedLongEdge"/></psf:Feature>
        <psf:Feature name="psk:PageOutputColor"><psf:Option name="psk:Monochrome"/></psf:Feature>
        <psf:Feature name="psk:DocumentCollate"><psf:Option name="psk:Uncollated"/></psf:Feature>
        <psf:Feature name="psk:PageInputBin"><psf:Option name="psk:Manual"/></psf:Feature>
        <psf:ParameterInit name="psk:JobCopiesAllDocuments"><psf:Value xsi:type="xsd:integer">3</psf:Value></psf:ParameterInit>)"));
    const DEVMODE dm = PublicPart(bytes);
    EXPECT_EQ(Utf8(dm.dmDeviceName), kDefaultPrinterName);
    EXPECT_EQ(dm.dmSpecVersion, 0x0401);
    EXPECT_EQ(dm.dmSize, sizeof(DEVMODE));
    EXPECT_EQ(bytes.size(), sizeof(DEVMODE) + dm.dmDriverExtra);
    EXPECT_EQ(dm.dmPaperSize, DMPAPER_A5);
    EXPECT_EQ(dm.dmPaperWidth, 1480);
    EXPECT_EQ(dm.dmPaperLength, 2100);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(dm.dmPrintQuality, 600);
    EXPECT_EQ(dm.dmYResolution, 600);
    EXPECT_EQ(dm.dmDuplex, DMDUP_VERTICAL);
    EXPECT_EQ(dm.dmColor, DMCOLOR_MONOCHROME);
    EXPECT_EQ(dm.dmCollate, DMCOLLATE_FALSE);
    EXPECT_EQ(dm.dmDefaultSource, DMBIN_MANUAL);
    EXPECT_EQ(dm.dmCopies, 3);
    EXPECT_EQ(Utf8(dm.dmFormName), "ISOA5");
    const std::uint32_t expectedFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_SCALE |
                                         DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX |
                                         DM_YRESOLUTION | DM_COLLATE | DM_FORMNAME;
    EXPECT_EQ(dm.dmFields, expectedFields);
}

struct PaperCase {
    const char* paper;
    std::int16_t code;
    std::int16_t width, length;  // tenths of a millimetre
};

class PaperCodes : public ::testing::TestWithParam<PaperCase> {};

TEST_P(PaperCodes, FollowThePaper)
{
    const PaperCase& c = GetParam();
    const auto bytes = Convert(kDefaultPrinterName, Ticket(std::string("<psf:Feature name=\"psk:PageMediaSize\"><psf:Option name=\"psk:") +
                                                           c.paper + "\"/></psf:Feature>"));
    const DEVMODE dm = PublicPart(bytes);
    EXPECT_EQ(dm.dmPaperSize, c.code);
    EXPECT_EQ(dm.dmPaperWidth, c.width);
    EXPECT_EQ(dm.dmPaperLength, c.length);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_PORTRAIT);
}

INSTANTIATE_TEST_SUITE_P(Table, PaperCodes,
                         ::testing::Values(PaperCase{"NorthAmericaLetter", DMPAPER_LETTER, 2159, 2794},
                                           PaperCase{"NorthAmericaLegal", DMPAPER_LEGAL, 2159, 3556},
                                           PaperCase{"ISOA3", DMPAPER_A3, 2970, 4200}, PaperCase{"ISOA4", DMPAPER_A4, 2100, 2970},
                                           PaperCase{"JISB5", DMPAPER_B5, 1820, 2570},
                                           PaperCase{"CustomMediaSize", 0, 2100, 2970}),
                         [](const ::testing::TestParamInfo<PaperCase>& row) { return std::string(row.param.paper); });

TEST(DevMode, ResolutionIsPassedAsAskedForTheRipToClamp)
{
    const DEVMODE dm = PublicPart(Convert(kDefaultPrinterName, Ticket(R"(
        <psf:Feature name="psk:PageResolution"><psf:Option name="xc:Resolution600x1200"/></psf:Feature>)")));
    EXPECT_EQ(dm.dmPrintQuality, 600);
    EXPECT_EQ(dm.dmYResolution, 1200);
}

TEST(DevMode, PrivateBinIsAUserBinCode)
{
    const DEVMODE dm = PublicPart(Convert(kDefaultPrinterName, Ticket(R"(
        <psf:Feature name="psk:PageInputBin"><psf:Option name="xc:Tray2"/></psf:Feature>)")));
    // AutoSelect, Manual, Tray1, Tray2: the fourth bin of the default printer.
    EXPECT_EQ(dm.dmDefaultSource, DMBIN_USER + 3);
}

TEST(DevMode, PrivatePartCarriesThePrivateSettings)
{
    const auto bytes = Convert(kDefaultPrinterName, Ticket(R"(
        <psf:Feature name="xc:PageHeaderFooter"><psf:Option name="xc:On"/>
          <psf:Feature name="xc:DateFormat"><psf:Option name="xc:Type1"/></psf:Feature></psf:Feature>
        <psf:Feature name="psk:PageInputBin"><psf:Option name="xc:Tray1"/></psf:Feature>
        <psf:Feature name="psk:JobBindAllDocuments"><psf:Option name="xc:BookletReverseFlip">
          <psf:ScoredProperty name="xc:DependOnDuplex"><psf:Value xsi:type="xsd:string">False</psf:Value></psf:ScoredProperty>
        </psf:Option></psf:Feature>
        <psf:ParameterInit name="xc:JobBindBookletDivideSheets"><psf:Value xsi:type="xsd:integer">7</psf:Value></psf:ParameterInit>
        <psf:Property name="xc:JobInfoData"><psf:Property name="xc:DefaultUserName">
          <psf:Value xsi:type="xsd:string">line one
line two \ end</psf:Value></psf:Property></psf:Property>)"));
    EXPECT_EQ(PrivateValue(bytes, 'F', "PageHeaderFooter"), "On");
    EXPECT_EQ(PrivateValue(bytes, 'F', "PageHeaderFooter/DateFormat"), "Type1");
    EXPECT_EQ(PrivateValue(bytes, 'S', "PageHeaderFooter/DateFormat/StringFormat"), "%04d/%02d/%02d");
    EXPECT_EQ(PrivateValue(bytes, 'F', "PageInputBin"), "Tray1");
    EXPECT_EQ(PrivateValue(bytes, 'F', "JobBindAllDocuments"), "BookletReverseFlip");
    EXPECT_EQ(PrivateValue(bytes, 'S', "JobBindAllDocuments/DependOnDuplex"), "False");
    EXPECT_EQ(PrivateValue(bytes, 'I', "JobBindBookletDivideSheets"), "7");
    EXPECT_EQ(PrivateValue(bytes, 'P', "JobInfoData/DefaultUserName"), "line one\nline two \\ end");
    EXPECT_EQ(PrivateValue(bytes, 'P', "PageMediaSizeData/CustomPaperTemp"), "256");
    EXPECT_EQ(PrivateValue(bytes, 'F', "PageOrientation"), "<absent>");  // keyword settings stay in the public part
}

TEST(DevMode, PrivatePartHeaderIsAsDocumented)
{
    const auto bytes = Convert(kDefaultPrinterName, Ticket(""));
    const DEVMODE dm = PublicPart(bytes);
    ASSERT_GE(dm.dmDriverExtra, 16);
    const std::uint8_t* part = bytes.data() + sizeof(DEVMODE);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(part), 4), "XCDM");
    EXPECT_EQ(part[4] | (part[5] << 8), 1);
    EXPECT_EQ(part[6] | (part[7] << 8), 16);
    const std::uint32_t textSize = part[12] | (part[13] << 8) | (part[14] << 16) | (std::uint32_t(part[15]) << 24);
    EXPECT_EQ(16 + textSize, dm.dmDriverExtra);
    EXPECT_EQ(part[16 + textSize - 1], '\n');
}

TEST(DevMode, DamagedPrivatePartIsRefusedByTheReader)
{
    auto bytes = Convert(kDefaultPrinterName, Ticket(""));
    std::vector<DevModePrivateEntry> entries;
    auto* devmode = reinterpret_cast<DEVMODE*>(bytes.data());
    EXPECT_FALSE(ReadDevModePrivatePart(devmode, static_cast<std::uint32_t>(bytes.size() - 1), &entries));
    bytes[sizeof(DEVMODE)] = 'Y';
    EXPECT_FALSE(ReadDevModePrivatePart(devmode, static_cast<std::uint32_t>(bytes.size()), &entries));
    EXPECT_TRUE(entries.empty());
}

TEST(DevMode, ATicketThatIsNotOneFailsWithAMessage)
{
    HRESULT hr = S_OK;
    std::string message;
    EXPECT_TRUE(Convert(kDefaultPrinterName, "<notaticket/>", &hr, &message).empty());
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_NE(message.find("notaticket"), std::string::npos) << message;
}

} // namespace
