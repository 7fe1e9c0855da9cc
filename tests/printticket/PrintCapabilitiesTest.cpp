// PrintCapabilities: features, parameter definitions and the imageable area of the ticket's paper.
#include <gtest/gtest.h>

#include "tests/printticket/TicketTestSupport.h"

using namespace pttest;

namespace {

struct Area {
    std::string width, height, originWidth, originHeight, extentWidth, extentHeight;
    friend bool operator==(const Area&, const Area&) = default;
};

std::ostream& operator<<(std::ostream& out, const Area& a)
{
    return out << a.width << "x" << a.height << " at " << a.originWidth << "," << a.originHeight << " extent "
               << a.extentWidth << "x" << a.extentHeight;
}

Area AreaOf(const std::string& capabilities)
{
    const std::string size = "/psf:PrintCapabilities/psf:Property[@name='psk:PageImageableSize']";
    const auto value = [&](const std::string& path) { return XPath(capabilities, size + path + "/psf:Value"); };
    const std::string area = "/psf:Property[@name='psk:ImageableArea']";
    return Area{value("/psf:Property[@name='psk:ImageableSizeWidth']"), value("/psf:Property[@name='psk:ImageableSizeHeight']"),
                value(area + "/psf:Property[@name='psk:OriginWidth']"), value(area + "/psf:Property[@name='psk:OriginHeight']"),
                value(area + "/psf:Property[@name='psk:ExtentWidth']"), value(area + "/psf:Property[@name='psk:ExtentHeight']")};
}

std::string PaperTicket(const char* paper, const char* orientation)
{
    return Ticket(std::string("<psf:Feature name=\"psk:PageMediaSize\"><psf:Option name=\"psk:") + paper +
                  "\"/></psf:Feature><psf:Feature name=\"psk:PageOrientation\"><psf:Option name=\"psk:" + orientation +
                  "\"/></psf:Feature>");
}

struct AreaCase {
    const char* orientation;
    Area expected;  // ISOA4 on the test printer: margins left 3000, top 5000, right 7000, bottom 11000
};

class ImageableAreas : public ::testing::TestWithParam<AreaCase> {};

TEST_P(ImageableAreas, AreTheTurnedPortraitOnes)
{
    const CallResult caps = Capabilities(TestPrinterName(), PaperTicket("ISOA4", GetParam().orientation));
    ASSERT_EQ(caps.hr, S_OK) << caps.message;
    EXPECT_EQ(AreaOf(caps.text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImageableAreas,
    ::testing::Values(
        AreaCase{"Portrait", {"210000", "297000", "3000", "5000", "200000", "281000"}},
        // Content turned a quarter counter-clockwise: the portrait's left margin is on top.
        AreaCase{"Landscape", {"297000", "210000", "11000", "3000", "281000", "200000"}},
        AreaCase{"ReverseLandscape", {"297000", "210000", "5000", "7000", "281000", "200000"}},
        AreaCase{"ReversePortrait", {"210000", "297000", "7000", "11000", "200000", "281000"}}),
    [](const ::testing::TestParamInfo<AreaCase>& row) { return std::string(row.param.orientation); });

TEST(PrintCapabilities, LandscapeIsThePortraitAreaTurned)
{
    const Area portrait = AreaOf(Capabilities(TestPrinterName(), PaperTicket("ISOA4", "Portrait")).text);
    const Area landscape = AreaOf(Capabilities(TestPrinterName(), PaperTicket("ISOA4", "Landscape")).text);
    EXPECT_EQ(landscape.width, portrait.height);
    EXPECT_EQ(landscape.height, portrait.width);
    EXPECT_EQ(landscape.extentWidth, portrait.extentHeight);
    EXPECT_EQ(landscape.extentHeight, portrait.extentWidth);
}

TEST(PrintCapabilities, PaperThePrinterLacksGivesTheDefaultPapersArea)
{
    const CallResult caps = Capabilities(TestPrinterName(), PaperTicket("ISOA3", "Portrait"));
    ASSERT_EQ(caps.hr, S_OK) << caps.message;
    EXPECT_EQ(AreaOf(caps.text).width, "210000");
}

TEST(PrintCapabilities, EnvelopesOfTheDefaultPrinterHaveTheirOwnMargins)
{
    const CallResult caps = Capabilities(kDefaultPrinterName, PaperTicket("ISODLEnvelope", "Portrait"));
    ASSERT_EQ(caps.hr, S_OK) << caps.message;
    EXPECT_EQ(AreaOf(caps.text), (Area{"110000", "220000", "10000", "10000", "90000", "200000"}));
}

TEST(PrintCapabilities, ListFeaturesOptionsAndParameterDefinitions)
{
    const CallResult caps = Capabilities(kDefaultPrinterName, Ticket(""));
    ASSERT_EQ(caps.hr, S_OK) << caps.message;
    EXPECT_EQ(XPath(caps.text, "count(/psf:PrintCapabilities/psf:Feature[@name='psk:PageResolution']/psf:Option)"), "6");
    EXPECT_EQ(XPath(caps.text, "count(//psf:Feature[@name='psk:PageMediaSize']/psf:Option[@name='psk:JISB5'])"), "1");
    const std::string gutter = "/psf:PrintCapabilities/psf:ParameterDef[@name='psk:JobBindAllDocumentsGutter']";
    EXPECT_EQ(XPath(caps.text, gutter + "/psf:Property[@name='psf:MaxValue']/psf:Value"), "203200");
    EXPECT_EQ(XPath(caps.text, gutter + "/psf:Property[@name='psf:MinValue']/psf:Value"), "0");
    EXPECT_EQ(XPath(caps.text, gutter + "/psf:Property[@name='psf:DataType']/psf:Value"), "xsd:integer");
    EXPECT_EQ(XPath(caps.text, "//psf:Feature[@name='xc:PageHeaderFooter']/psf:Feature[@name='xc:DateFormat']"
                               "/psf:Option[@name='xc:Type1']/psf:ScoredProperty[@name='xc:DataFormat']/psf:Value"),
              "ymd");
    EXPECT_EQ(XPath(caps.text, "count(//psf:ScoredProperty[@name='psk:BindingGutter']/psf:ParameterRef"
                               "[@name='psk:JobBindAllDocumentsGutter'])"),
              "6");
}

TEST(PrintCapabilities, AMalformedTicketFailsWithAMessage)
{
    const CallResult caps = Capabilities(kDefaultPrinterName, "<psf:PrintTicket");
    EXPECT_EQ(caps.hr, HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_NE(caps.message.find("the ticket"), std::string::npos) << caps.message;
}

} // namespace
