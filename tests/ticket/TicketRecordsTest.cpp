#include "framework/ImageableSizeRecord.h"
#include "framework/JobInfoRecord.h"
#include "framework/PageMediaSizeRecord.h"
#include "tests/ticket/TicketFixtures.h"

namespace {

std::string PrivateValue(const char* name, const char* value)
{
    return std::string(R"(<psf:Property name="drv:)") + name + R"("><psf:Value>)" + value + "</psf:Value></psf:Property>";
}

const std::string kIsoA4ThroughParameters = R"(
  <psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA4">
    <psf:ScoredProperty name="psk:MediaSizeWidth"><psf:ParameterRef name="psk:W"/></psf:ScoredProperty>
    <psf:ScoredProperty name="psk:MediaSizeHeight"><psf:ParameterRef name="psk:H"/></psf:ScoredProperty>
  </psf:Option></psf:Feature>
  <psf:ParameterInit name="psk:W"><psf:Value xsi:type="xsd:integer">210000</psf:Value></psf:ParameterInit>
  <psf:ParameterInit name="psk:H"><psf:Value xsi:type="xsd:integer">297000</psf:Value></psf:ParameterInit>)";

class TicketRecordsTest : public TicketTest {};

TEST_F(TicketRecordsTest, ReadsThePaperOfATicket)
{
    PageMediaSizeRecord defaults;
    PageMediaSizeRecord a4 = defaults;
    a4.mediaName = "ISOA4";
    a4.width = 210000;
    a4.height = 297000;
    PageMediaSizeRecord full = a4;
    full.orientation = 2;
    full.customUnitIsInch = true;
    full.transverse = true;
    full.thickness = 2;
    full.fixedMargin = true;
    full.documentMarginLeft = 1;
    full.documentMarginRight = 2;
    full.documentMarginTop = 3;
    full.documentMarginBottom = 4;
    full.outputMarginLeft = 5;
    full.outputMarginRight = 6;
    full.outputMarginTop = 7;
    full.outputMarginBottom = 8;
    full.customPaperTemplate = 9;
    PageMediaSizeRecord privatePaper = defaults;
    privatePaper.mediaName = "Postcard";
    privatePaper.mediaNameIsPrivate = true;
    privatePaper.width = 100000;
    privatePaper.height = 148000;
    privatePaper.orientation = 0;
    PageMediaSizeRecord partial = defaults;
    partial.thickness = 1;

    const std::string landscape =
        R"(<psf:Feature name="psk:PageOrientation"><psf:Option name="psk:ReverseLandscape"/></psf:Feature>)";
    const std::string paperData =
        R"(<psf:Property name="drv:PageMediaSizeData">)" + PrivateValue("CustomUnitType", "inch") +
        PrivateValue("TransverseMode", "On") + PrivateValue("ThicknessType", "Envelope") +
        PrivateValue("UseFixedMargin", "On") + PrivateValue("DocMarginLeft", "1") + PrivateValue("DocMarginRight", "2") +
        PrivateValue("DocMarginTop", "3") + PrivateValue("DocMarginBottom", "4") + PrivateValue("OutMarginLeft", "5") +
        PrivateValue("OutMarginRight", "6") + PrivateValue("OutMarginTop", "7") + PrivateValue("OutMarginBottom", "8") +
        "</psf:Property>" + PrivateValue("CustomPaperTemp", "9");  // members are found outside the container too

    struct Case {
        const char* name;
        std::string body;
        HRESULT expected;
        PageMediaSizeRecord record;
    } cases[] = {
        {"empty ticket", "", ResultDefaulted, defaults},
        {"ISOA4 through parameters, no orientation", kIsoA4ThroughParameters, ResultDefaulted, a4},
        {"everything", kIsoA4ThroughParameters + landscape + paperData, S_OK, full},
        {"private paper name",
         R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="drv:Postcard">
              <psf:ScoredProperty name="psk:MediaSizeWidth"><psf:Value>100000</psf:Value></psf:ScoredProperty>
              <psf:ScoredProperty name="psk:MediaSizeHeight"><psf:Value>148000</psf:Value></psf:ScoredProperty>
            </psf:Option></psf:Feature>
            <psf:Feature name="psk:PageOrientation"><psf:Option name="psk:Landscape"/></psf:Feature>)",
         ResultDefaulted, privatePaper},
        {"size without height keeps the default paper",
         R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA3">
              <psf:ScoredProperty name="psk:MediaSizeWidth"><psf:Value>297000</psf:Value></psf:ScoredProperty>
            </psf:Option></psf:Feature>)" + landscape,
         ResultDefaulted, [&] {
             PageMediaSizeRecord r = defaults;
             r.orientation = 2;
             return r;
         }()},
        {"unknown words change nothing",
         R"(<psf:Feature name="psk:PageOrientation"><psf:Option name="psk:Diagonal"/></psf:Feature>
            <psf:Property name="drv:PageMediaSizeData"/>)" +
             PrivateValue("ThicknessType", "Thick") + PrivateValue("TransverseMode", "Maybe"),
         ResultDefaulted, partial},
    };
    for (const Case& c : cases) {
        ComPtr<CXmlDocument> dom = LoadDom(TicketText(c.body));
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
        PageMediaSizeRecord record;
        EXPECT_EQ(c.expected, ReadPageMediaSize(ticket, &record)) << c.name;
        EXPECT_TRUE(c.record == record) << c.name << ": " << record.mediaName << " " << record.width << "x"
                                        << record.height << " orientation " << record.orientation;
    }
}

TEST_F(TicketRecordsTest, WritesThePaperSoThatItReadsBack)
{
    PageMediaSizeRecord custom;
    custom.mediaName = "CustomMediaSize";
    custom.width = 123456;
    custom.height = 234567;
    custom.orientation = 3;
    custom.customUnitIsInch = true;
    custom.thickness = 1;
    custom.documentMarginTop = 500;
    custom.outputMarginBottom = 0;
    custom.customPaperTemplate = -2;
    PageMediaSizeRecord privateName;
    privateName.mediaName = "Postcard";
    privateName.mediaNameIsPrivate = true;

    for (const PageMediaSizeRecord& written : {custom, privateName}) {
        // Written over a ticket that already has a paper: the old one goes, parameters included.
        ComPtr<CXmlDocument> dom = LoadDom(TicketText(kIsoA4ThroughParameters +
                                                      R"(<psf:ParameterInit name="psk:PageMediaSizeMediaSizeWidth"/>)"));
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
        ASSERT_EQ(S_OK, WritePageMediaSize(ticket, written));
        ASSERT_EQ(S_OK, WritePageMediaSize(ticket, written));

        const std::pair<const char*, std::size_t> counts[] = {
            {R"(//psf:Feature[@name = "psk:PageMediaSize"])", 1},
            {R"(//psf:Feature[@name = "psk:PageOrientation"])", 1},
            {R"(//psf:Property[@name = "drv:PageMediaSizeData"])", 1},
            {R"(//psf:Property[@name = "drv:PageMediaSizeData"]/psf:Property)", 13},
            {R"(/psf:PrintTicket/psf:ParameterInit[@name = "psk:PageMediaSizeMediaSizeWidth"])",
             written.mediaName == "CustomMediaSize" ? 1u : 0u},
            {R"(/psf:PrintTicket/psf:ParameterInit[@name = "psk:PageMediaSizeMediaSizeHeight"])",
             written.mediaName == "CustomMediaSize" ? 1u : 0u},
            {R"(//psf:ScoredProperty[@name = "psk:MediaSizeHeight"]/psf:ParameterRef[@name = "psk:PageMediaSizeMediaSizeHeight"])",
             written.mediaName == "CustomMediaSize" ? 1u : 0u},
            {R"(//psf:ParameterInit[@name = "psk:W"])", 0},  // went with the old paper that referenced it
        };
        for (const auto& [xpath, expected] : counts) {
            std::vector<XmlNode> nodes;
            ASSERT_EQ(S_OK, ticket.SelectNodes(xpath, &nodes)) << xpath;
            EXPECT_EQ(expected, nodes.size()) << written.mediaName << ": " << xpath;
        }
        PageMediaSizeRecord read;
        EXPECT_EQ(S_OK, ReadPageMediaSize(ticket, &read)) << written.mediaName;
        EXPECT_TRUE(written == read) << written.mediaName << ": " << read.mediaName << " " << read.width << "x"
                                     << read.height;
    }
}

TEST_F(TicketRecordsTest, RefusesARecordOutOfRangeAndLeavesTheTicket)
{
    ComPtr<CXmlDocument> dom = LoadDom(TicketText(kIsoA4ThroughParameters));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    PageMediaSizeRecord record;
    record.thickness = 3;
    EXPECT_EQ(E_INVALIDARG, WritePageMediaSize(ticket, record));
    EXPECT_EQ(S_OK, ticket.FeatureExists("PageMediaSize"));
}

TEST_F(TicketRecordsTest, ReadsTheImageableArea)
{
    auto value = [](const char* name, const char* v) {
        return std::string(R"(<psf:Property name="psk:)") + name + R"("><psf:Value>)" + v + "</psf:Value></psf:Property>";
    };
    const std::string area = value("OriginWidth", "3") + value("OriginHeight", "4") + value("ExtentWidth", "5");
    const std::string complete = R"(<psf:Property name="psk:PageImageableSize">)" + value("ImageableSizeWidth", "1") +
                                 value("ImageableSizeHeight", "2") + R"(<psf:Property name="psk:ImageableArea">)" +
                                 area + value("ExtentHeight", "6") + "</psf:Property></psf:Property>";
    const std::string partial = R"(<psf:Property name="psk:PageImageableSize">)" + value("ImageableSizeWidth", "1") +
                                value("ImageableSizeHeight", "2") + R"(<psf:Property name="psk:ImageableArea">)" + area +
                                "</psf:Property></psf:Property>";
    struct Case {
        const char* name;
        std::string body;
        HRESULT expected;
        ImageableSizeRecord record;
    } cases[] = {
        {"complete", complete, S_OK, {1, 2, 3, 4, 5, 6}},
        {"without extent height", partial, ResultNotFound, {1, 2, 3, 4, 5, 0}},
        {"absent", "", ResultNotFound, {}},
    };
    for (const Case& c : cases) {
        ComPtr<CXmlDocument> dom = LoadDom(TicketText(c.body, StandardDeclarations(), "psf:PrintCapabilities"));
        CTicketDocument capabilities("PrintCapabilities", kPrivateKeywordNamespace, dom.Get());
        ImageableSizeRecord record;
        EXPECT_EQ(c.expected, ReadImageableSize(capabilities, &record)) << c.name;
        EXPECT_TRUE(c.record == record) << c.name;
    }
}

TEST_F(TicketRecordsTest, ReadsTheJobInformation)
{
    JobInfoRecord full;
    full.userName = "alice";
    full.computerName = "PC-7";
    full.codePage = 932;
    full.separateTrayMode = 1;
    full.divideCondition = "Copies";
    full.bandingPortraitFlag = 1;
    full.bandingPortraitSize = 64;
    full.bandingLandscapeFlag = 1;
    full.bandingLandscapeSize = 32;
    full.halftoneReduction = true;
    full.draftMode = true;
    JobInfoRecord secretOnly;
    secretOnly.draftMode = true;

    const std::string everything =
        R"(<psf:Property name="drv:JobInfoData">)" + PrivateValue("DefaultUserName", "alice") +
        PrivateValue("ComputerName", "PC-7") + PrivateValue("CodePage", "932") + "</psf:Property>" +
        R"(<psf:Property name="drv:JobSettingData">)" + PrivateValue("SeparateTrayMode", "On") +
        PrivateValue("DivideCondition", "Copies") + PrivateValue("BandingPortraitFlag", "1") +
        PrivateValue("BandingPortraitSize", "64") + PrivateValue("BandingLandscapeFlag", "1") +
        PrivateValue("BandingLandscapeSize", "32") + "</psf:Property>" +
        R"(<psf:Property name="drv:JobSecretFunctionData">)" + PrivateValue("HalftoneReduction", "On") +
        PrivateValue("DraftMode", "On") + "</psf:Property>";
    struct Case {
        const char* name;
        std::string body;
        JobInfoRecord record;
    } cases[] = {
        {"no job information", "", JobInfoRecord{}},
        {"everything", everything, full},
        // Members only count when their container is there.
        {"members without JobInfoData",
         PrivateValue("CodePage", "932") + R"(<psf:Property name="drv:JobSecretFunctionData"/>)" +
             PrivateValue("DraftMode", "On"),
         secretOnly},
    };
    for (const Case& c : cases) {
        ComPtr<CXmlDocument> dom = LoadDom(TicketText(c.body));
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
        JobInfoRecord record;
        EXPECT_EQ(S_OK, ReadJobInfo(ticket, &record)) << c.name;
        EXPECT_TRUE(c.record == record) << c.name << ": code page " << record.codePage;
    }
}

} // namespace
