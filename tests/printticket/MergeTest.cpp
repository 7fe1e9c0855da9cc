// Merging and validating tickets against a printer: options, parameters, prefixes, pass-through.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/com/Bstr.h"
#include "tests/printticket/TicketTestSupport.h"

using namespace pttest;

namespace {

std::string PaperOf(const std::string& ticket)
{
    return XPath(ticket, "/psf:PrintTicket/psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name");
}

const std::string kLetterBase = Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:NorthAmericaLetter"/></psf:Feature>)");

struct MergeCase {
    const char* name;
    std::string base;
    std::string delta;
    const char* xpath;     // evaluated as string() on the merged ticket
    const char* expected;
};

class MergeCases : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCases, GivesTheValidatedSetting)
{
    const MergeCase& c = GetParam();
    const CallResult merged = Merge(TestPrinterName(), c.base, c.delta);
    ASSERT_EQ(merged.hr, S_OK) << merged.message;
    EXPECT_EQ(XPath(merged.text, c.xpath), c.expected) << merged.text;
}

const std::string kBindingGutter = "/psf:PrintTicket/psf:ParameterInit[@name='psk:JobBindAllDocumentsGutter']/psf:Value";

INSTANTIATE_TEST_SUITE_P(
    Table, MergeCases,
    ::testing::Values(
        MergeCase{"PaperThePrinterLacksKeepsTheBasePaper", kLetterBase,
                  Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA3"/></psf:Feature>)"),
                  "/psf:PrintTicket/psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name", "psk:NorthAmericaLetter"},
        MergeCase{"OfferedPaperGetsItsSizes", kLetterBase,
                  Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA5"/></psf:Feature>)"),
                  "/psf:PrintTicket/psf:Feature[@name='psk:PageMediaSize']/psf:Option[@name='psk:ISOA5']"
                  "/psf:ScoredProperty[@name='psk:MediaSizeHeight']/psf:Value",
                  "210000"},
        MergeCase{"UnknownPaperInBothFallsToThePrinterDefault",
                  Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:JISB4"/></psf:Feature>)"),
                  Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA3"/></psf:Feature>)"),
                  "/psf:PrintTicket/psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name", "psk:ISOA4"},
        MergeCase{"OtherPrefixesAreResolvedByNamespace", kLetterBase,
                  Ticket(R"(<psf:Feature name="ns0000:PageMediaSize"><psf:Option name="ns0000:ISOA5"/></psf:Feature>)",
                         std::string("xmlns:ns0000=\"") + kPsk + "\""),
                  "/psf:PrintTicket/psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name", "psk:ISOA5"},
        MergeCase{"GutterBeyondItsMaximumIsHeldToIt", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:JobBindAllDocuments"><psf:Option name="psk:BindLeft">
                              <psf:ScoredProperty name="psk:BindingGutter"><psf:ParameterRef name="psk:JobBindAllDocumentsGutter"/></psf:ScoredProperty>
                            </psf:Option></psf:Feature>
                            <psf:ParameterInit name="psk:JobBindAllDocumentsGutter"><psf:Value xsi:type="xsd:integer">500000</psf:Value></psf:ParameterInit>)"),
                  kBindingGutter.c_str(), "203200"},
        MergeCase{"NegativeGutterIsHeldToTheMinimum", Ticket(""),
                  Ticket(R"(<psf:ParameterInit name="psk:JobBindAllDocumentsGutter"><psf:Value xsi:type="xsd:integer">-5</psf:Value></psf:ParameterInit>)"),
                  kBindingGutter.c_str(), "0"},
        MergeCase{"GutterGivenAsPlainValueIsHeldToo", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:JobBindAllDocuments"><psf:Option name="psk:Booklet">
                              <psf:ScoredProperty name="psk:BindingGutter"><psf:Value xsi:type="xsd:integer">999999</psf:Value></psf:ScoredProperty>
                            </psf:Option></psf:Feature>)"),
                  "//psf:Feature[@name='psk:JobBindAllDocuments']/psf:Option/psf:ScoredProperty/psf:Value", "203200"},
        MergeCase{"GutterThatIsNoNumberKeepsTheBaseValue",
                  Ticket(R"(<psf:ParameterInit name="psk:JobBindAllDocumentsGutter"><psf:Value xsi:type="xsd:integer">7000</psf:Value></psf:ParameterInit>)"),
                  Ticket(R"(<psf:ParameterInit name="psk:JobBindAllDocumentsGutter"><psf:Value xsi:type="xsd:integer">wide</psf:Value></psf:ParameterInit>)"),
                  kBindingGutter.c_str(), "7000"},
        MergeCase{"StringParameterIsCutToItsMaximumLength", Ticket(""),
                  Ticket(R"(<psf:ParameterInit name="xc:JobStampText"><psf:Value xsi:type="xsd:string">ConfidentialCopy</psf:Value></psf:ParameterInit>)"),
                  "//psf:ParameterInit[@name='xc:JobStampText']/psf:Value", "Confiden"},
        MergeCase{"UnnamedNUpOptionIsFoundByPagesPerSheet", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"><psf:Option>
                              <psf:ScoredProperty name="psk:PagesPerSheet"><psf:Value xsi:type="xsd:integer">4</psf:Value></psf:ScoredProperty>
                            </psf:Option></psf:Feature>)"),
                  "//psf:Feature[@name='psk:JobNUpAllDocumentsContiguously']/psf:Option/psf:ScoredProperty/psf:Value", "4"},
        MergeCase{"NUpTheprinterLacksKeepsTheBase",
                  Ticket(R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"><psf:Option>
                              <psf:ScoredProperty name="psk:PagesPerSheet"><psf:Value xsi:type="xsd:integer">2</psf:Value></psf:ScoredProperty>
                            </psf:Option></psf:Feature>)"),
                  Ticket(R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"><psf:Option>
                              <psf:ScoredProperty name="psk:PagesPerSheet"><psf:Value xsi:type="xsd:integer">3</psf:Value></psf:ScoredProperty>
                            </psf:Option></psf:Feature>)"),
                  "//psf:Feature[@name='psk:JobNUpAllDocumentsContiguously']/psf:Option/psf:ScoredProperty/psf:Value", "2"},
        MergeCase{"ResolutionOfAnotherDriverIsMatchedByItsValues", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:PageResolution"><psf:Option name="ns0001:ResOption1">
                              <psf:ScoredProperty name="psk:ResolutionX"><psf:Value xsi:type="xsd:integer">300</psf:Value></psf:ScoredProperty>
                              <psf:ScoredProperty name="psk:ResolutionY"><psf:Value xsi:type="xsd:integer">300</psf:Value></psf:ScoredProperty>
                            </psf:Option></psf:Feature>)",
                         "xmlns:ns0001=\"http://example.com/other-driver\""),
                  "//psf:Feature[@name='psk:PageResolution']/psf:Option/@name", "xc:Resolution300x300"},
        MergeCase{"SubFeatureOfTheDeltaReplacesTheBaseOne",
                  Ticket(R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously">
                              <psf:Feature name="psk:PresentationDirection"><psf:Option name="psk:RightBottom"/></psf:Feature></psf:Feature>)"),
                  Ticket(R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously">
                              <psf:Feature name="psk:PresentationDirection"><psf:Option name="psk:BottomRight"/></psf:Feature></psf:Feature>)"),
                  "//psf:Feature[@name='psk:PresentationDirection']/psf:Option/@name", "psk:BottomRight"},
        MergeCase{"FeatureAbsentFromTheDeltaKeepsTheBaseChoice",
                  Ticket(R"(<psf:Feature name="psk:PageOrientation"><psf:Option name="psk:Landscape"/></psf:Feature>)"),
                  Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA5"/></psf:Feature>)"),
                  "//psf:Feature[@name='psk:PageOrientation']/psf:Option/@name", "psk:Landscape"},
        MergeCase{"FeaturePropertyOfTheDeltaReplacesTheDefault", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:JobBindAllDocuments"><psf:Property name="xc:BindingOptionControl">
                              <psf:Value xsi:type="xsd:string">Off</psf:Value></psf:Property></psf:Feature>)"),
                  "//psf:Feature[@name='psk:JobBindAllDocuments']/psf:Property[@name='xc:BindingOptionControl']/psf:Value", "Off"},
        MergeCase{"ScoredPropertyTheOptionDoesNotDescribeIsKept", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:JobBindAllDocuments"><psf:Option name="psk:Booklet">
                              <psf:ScoredProperty name="xc:DependOnDuplex"><psf:Value xsi:type="xsd:string">False</psf:Value></psf:ScoredProperty>
                            </psf:Option></psf:Feature>)"),
                  "//psf:ScoredProperty[@name='xc:DependOnDuplex']/psf:Value", "False"},
        MergeCase{"DeltaPropertyReplacesTheBaseOneByName",
                  Ticket(R"(<psf:Property name="xc:JobInfoData"><psf:Property name="xc:CodePage"><psf:Value xsi:type="xsd:integer">1252</psf:Value></psf:Property></psf:Property>)"),
                  Ticket(R"(<psf:Property name="xc:JobInfoData"><psf:Property name="xc:CodePage"><psf:Value xsi:type="xsd:integer">932</psf:Value></psf:Property></psf:Property>)"),
                  "count(//psf:Property[@name='xc:JobInfoData']) * 1000 + //psf:Property[@name='xc:CodePage']/psf:Value", "1932"},
        MergeCase{"QNameValuesAreRewrittenWithTheOutputPrefixes", Ticket(""),
                  Ticket(R"(<psf:Feature name="psk:PageOrientation"><psf:Property name="psf:SelectionType">
                              <psf:Value xsi:type="xsd:QName">k2:PickOne</psf:Value></psf:Property></psf:Feature>)",
                         std::string("xmlns:k2=\"") + kPsk + "\""),
                  "//psf:Feature[@name='psk:PageOrientation']/psf:Property/psf:Value", "psk:PickOne"}),
    [](const ::testing::TestParamInfo<MergeCase>& row) { return std::string(row.param.name); });

TEST(Merge, PrivateFeatureOfAnotherDriverKeepsItsNamespace)
{
    const CallResult merged = Merge(TestPrinterName(), Ticket(""),
                                    Ticket(R"(<psf:Feature name="other:JobInterleaving"><psf:Option name="other:OFF"/></psf:Feature>)",
                                           "xmlns:other=\"http://example.com/other-driver\""));
    ASSERT_EQ(merged.hr, S_OK) << merged.message;
    EXPECT_EQ(XPath(merged.text, "count(//psf:Feature[@name='ns0000:JobInterleaving']/psf:Option[@name='ns0000:OFF'])"), "1");
    EXPECT_NE(merged.text.find("xmlns:ns0000=\"http://example.com/other-driver\""), std::string::npos) << merged.text;
}

TEST(Merge, ResultIsCompleteAndDeclaresThePrivatePrefixOnTheRoot)
{
    const CallResult merged = Merge(TestPrinterName(), Ticket(""), Ticket(""));
    ASSERT_EQ(merged.hr, S_OK) << merged.message;
    for (const char* feature : {"psk:PageMediaSize", "psk:PageOrientation", "psk:PageResolution",
                                "psk:JobNUpAllDocumentsContiguously", "psk:JobBindAllDocuments", "psk:PageInputBin"})
        EXPECT_EQ(XPath(merged.text, std::string("count(/psf:PrintTicket/psf:Feature[@name='") + feature + "'])"), "1")
            << feature;
    EXPECT_EQ(XPath(merged.text, "count(/psf:PrintTicket/psf:Feature/psf:Feature[@name='psk:PresentationDirection'])"), "1");
    // The gutter is referenced by the chosen binding option, the copies count stands alone.
    EXPECT_EQ(XPath(merged.text, "count(/psf:PrintTicket/psf:ParameterInit)"), "3");
    EXPECT_EQ(XPath(merged.text, "count(//psf:ParameterInit[@name='psk:PageMediaSizeMediaSizeWidth'])"), "0");
    EXPECT_NE(merged.text.find(std::string("xmlns:xc=\"") + kPrivateKeywordNamespace + "\""), std::string::npos);
}

TEST(Merge, CustomPaperTakesItsSizeFromTheParametersHeldToTheirRange)
{
    const CallResult merged = Merge(TestPrinterName(), Ticket(""), Ticket(R"(
        <psf:ParameterInit name="psk:PageMediaSizeMediaSizeWidth"><psf:Value xsi:type="xsd:integer">253999</psf:Value></psf:ParameterInit>
        <psf:ParameterInit name="psk:PageMediaSizeMediaSizeHeight"><psf:Value xsi:type="xsd:integer">50000</psf:Value></psf:ParameterInit>
        <psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:CustomMediaSize">
          <psf:ScoredProperty name="psk:MediaSizeWidth"><psf:ParameterRef name="psk:PageMediaSizeMediaSizeWidth"/></psf:ScoredProperty>
          <psf:ScoredProperty name="psk:MediaSizeHeight"><psf:ParameterRef name="psk:PageMediaSizeMediaSizeHeight"/></psf:ScoredProperty>
        </psf:Option></psf:Feature>)"));
    ASSERT_EQ(merged.hr, S_OK) << merged.message;
    EXPECT_EQ(PaperOf(merged.text), "psk:CustomMediaSize");
    EXPECT_EQ(XPath(merged.text, "//psf:ParameterInit[@name='psk:PageMediaSizeMediaSizeWidth']/psf:Value"), "253999");
    EXPECT_EQ(XPath(merged.text, "//psf:ParameterInit[@name='psk:PageMediaSizeMediaSizeHeight']/psf:Value"), "127000");
    EXPECT_EQ(XPath(merged.text, "//psf:ScoredProperty[@name='psk:MediaSizeWidth']/psf:ParameterRef/@name"),
              "psk:PageMediaSizeMediaSizeWidth");
}

TEST(Merge, ScopeLimitsTheResultToTheFeaturesOfThatLevel)
{
    const std::string delta = Ticket(R"(<psf:Feature name="psk:DocumentCollate"><psf:Option name="psk:Collated"/></psf:Feature>)");
    struct Row {
        EPrintTicketScope scope;
        const char* jobFeatures;
        const char* documentFeatures;
    };
    for (const Row& row : {Row{kPTJobScope, "2", "1"}, Row{kPTDocumentScope, "0", "1"}, Row{kPTPageScope, "0", "0"}}) {
        const CallResult merged = Merge(TestPrinterName(), Ticket(""), delta, row.scope);
        ASSERT_EQ(merged.hr, S_OK) << merged.message;
        EXPECT_EQ(XPath(merged.text, "count(//psf:Feature[starts-with(@name, 'psk:Job')])"), row.jobFeatures) << row.scope;
        EXPECT_EQ(XPath(merged.text, "count(//psf:Feature[starts-with(@name, 'psk:Document')])"), row.documentFeatures);
        EXPECT_EQ(PaperOf(merged.text), "psk:ISOA4");
    }
}

struct RefusedCase {
    const char* name;
    std::string delta;
    const char* inMessage;
};

class RefusedDeltas : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedDeltas, FailWithAMessage)
{
    const CallResult merged = Merge(TestPrinterName(), Ticket(""), GetParam().delta);
    EXPECT_TRUE(merged.hr == HRESULT_FROM_WIN32(ERROR_INVALID_DATA) || merged.hr == E_INVALIDARG) << FormatHresult(merged.hr);
    EXPECT_NE(merged.message.find("the delta ticket"), std::string::npos) << merged.message;
    EXPECT_NE(merged.message.find(GetParam().inMessage), std::string::npos) << merged.message;
    EXPECT_TRUE(merged.text.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedDeltas,
    ::testing::Values(
        RefusedCase{"PrintCapabilitiesRoot",
                    std::string("<psf:PrintCapabilities xmlns:psf=\"") + kPsf + "\" version=\"1\"/>", "PrintCapabilities"},
        RefusedCase{"WrongNamespace", "<psf:PrintTicket xmlns:psf=\"http://example.com/not-the-framework\"/>",
                    "http://example.com/not-the-framework"},
        RefusedCase{"NoNamespace", "<PrintTicket/>", "without namespace"},
        RefusedCase{"NotXml", "PageMediaSize=ISOA4", "line 1"},
        RefusedCase{"Truncated", Ticket("<psf:Feature name=\"psk:PageMediaSize\">").substr(0, 400), "line"},
        RefusedCase{"Empty", "", "line"},
        RefusedCase{"UndeclaredPrefixInAName", Ticket("<psf:Feature name=\"nowhere:Thing\"/>"), "nowhere:Thing"}),
    [](const ::testing::TestParamInfo<RefusedCase>& row) { return std::string(row.param.name); });

TEST(Merge, CorpusTicketsMergeOntoTheDefaultTicket)
{
    const std::string base = DefaultTicket(kDefaultPrinterName);
    int merged = 0;
    for (const auto& entry : std::filesystem::directory_iterator(XPSCHAIN_CORPUS_DIR "/tickets")) {
        const std::string file = entry.path().filename().string();
        if (file.find("PT") == std::string::npos || entry.path().extension() != ".xml")
            continue;
        const CallResult result = Merge(kDefaultPrinterName, base, ReadFile(entry.path().string()));
        ASSERT_EQ(result.hr, S_OK) << file << ": " << result.message;
        EXPECT_EQ(XPath(result.text, "count(/psf:PrintTicket/psf:Feature[@name='psk:PageMediaSize']/psf:Option)"), "1") << file;
        // The merged ticket is itself a base the provider accepts again.
        EXPECT_EQ(Merge(kDefaultPrinterName, result.text, result.text).hr, S_OK) << file;
        ++merged;
    }
    EXPECT_GE(merged, 20);
}

TEST(Merge, CorpusPaperChoicesSurviveOrFallBack)
{
    struct Row {
        const char* file;
        const char* paper;
    };
    for (const Row& row : {Row{"groupdocs-conversion_sample__job__388a4fba__Job_PT.xml", "psk:ISOA4"},
                           Row{"tika_testXLSX__job__6cfee35d__Job_PT.xml", "psk:NorthAmericaLetter"},
                           // ISOA4Rotated is no paper of the default printer: the base's ISOA4 stays.
                           Row{"aspose-page-c_out1__page__f6a78073__Page1_PT.xml", "psk:ISOA4"},
                           Row{"aspose-page-net_mergedXPSfiles__page__4c422a74__Page1_PT.xml", "psk:CustomMediaSize"}}) {
        const CallResult result =
            Merge(kDefaultPrinterName, DefaultTicket(kDefaultPrinterName), ReadFile(std::string(XPSCHAIN_CORPUS_DIR "/tickets/") + row.file));
        ASSERT_EQ(result.hr, S_OK) << result.message;
        EXPECT_EQ(PaperOf(result.text), row.paper) << row.file;
    }
}

TEST(Merge, BadArgumentsAreRefused)
{
    HPTPROVIDER provider = nullptr;
    ASSERT_EQ(PTOpenProvider(kDefaultPrinterName, 1, &provider), S_OK);
    BSTR message = nullptr;
    EXPECT_EQ(PTMergeAndValidatePrintTicket(provider, nullptr, nullptr, kPTJobScope, nullptr, &message), E_POINTER);
    SysFreeString(message);
    EXPECT_EQ(PTMergeAndValidatePrintTicket(nullptr, nullptr, nullptr, kPTJobScope, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(PTCloseProvider(provider), S_OK);
}

} // namespace
