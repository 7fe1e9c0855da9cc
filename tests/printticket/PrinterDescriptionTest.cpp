// Printer descriptions: the built-in printer, the example files, the registry and faulty files.
#include <thread>

#include <gtest/gtest.h>

#include "platform/printticket/PrinterDescription.h"
#include "tests/printticket/TicketTestSupport.h"

using namespace pttest;

namespace {

TEST(PrinterDescription, BuiltInPrinterIsTheExampleFile)
{
    EXPECT_EQ(ReadFile(XPSCHAIN_EXAMPLES_DIR "/printers/default.xml"), printschema::kBuiltInPrinterDescription);
}

TEST(PrinterDescription, ExamplePrintersRegisterUnderTheirNames)
{
    struct Row {
        const char* file;
        const char* name;
        const char* defaultPaper;
    };
    for (const Row& row : {Row{"default.xml", kDefaultPrinterName, "psk:ISOA4"},
                           Row{"office-a4-laser.xml", "Office A4 Laser", "psk:ISOA4"}}) {
        std::string name;
        std::string error;
        ASSERT_EQ(PTRegisterPrinterDescription(std::string(XPSCHAIN_EXAMPLES_DIR "/printers/") + row.file, &name, &error), S_OK)
            << error;
        EXPECT_EQ(name, row.name);
        const std::string ticket = DefaultTicket(row.name);
        EXPECT_EQ(XPath(ticket, "//psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name"), row.defaultPaper);
    }
}

TEST(PrinterDescription, OfficeLaserLacksA3AndKeepsTheDocumentsPaper)
{
    std::string name;
    std::string error;
    ASSERT_EQ(PTRegisterPrinterDescription(XPSCHAIN_EXAMPLES_DIR "/printers/office-a4-laser.xml", &name, &error), S_OK) << error;
    const std::string documentTicket = Merge(name.c_str(), DefaultTicket(name.c_str()),
                                             ReadFile(XPSCHAIN_EXAMPLES_DIR "/tickets/page-isoa5-landscape.xml")).text;
    const CallResult page = Merge(name.c_str(), documentTicket,
                                  Ticket(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA3"/></psf:Feature>)"));
    ASSERT_EQ(page.hr, S_OK) << page.message;
    EXPECT_EQ(XPath(page.text, "//psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name"), "psk:ISOA5");
    EXPECT_EQ(XPath(page.text, "//psf:Feature[@name='psk:PageOrientation']/psf:Option/@name"), "psk:Landscape");
}

TEST(PrinterDescription, ExampleTicketsMergeOntoTheDefaultPrinter)
{
    struct Row {
        const char* file;
        const char* xpath;
        const char* expected;
    };
    for (const Row& row :
         {Row{"user-2up-duplex.xml", "//psf:Feature[@name='psk:JobNUpAllDocumentsContiguously']/psf:Option/psf:ScoredProperty/psf:Value", "2"},
          Row{"user-2up-duplex.xml", "//psf:Feature[@name='psk:JobDuplexAllDocumentsContiguously']/psf:Option/@name", "psk:TwoSidedLongEdge"},
          Row{"page-isoa5-landscape.xml", "//psf:Feature[@name='psk:PageMediaSize']/psf:Option/@name", "psk:ISOA5"},
          Row{"job-booklet-gutter.xml", "//psf:ParameterInit[@name='psk:JobBindAllDocumentsGutter']/psf:Value", "10000"},
          Row{"page-watermark-header.xml", "//psf:Feature[@name='xc:PageHeaderFooter']/psf:Option/@name", "xc:On"}}) {
        const CallResult merged = Merge(kDefaultPrinterName, DefaultTicket(kDefaultPrinterName),
                                        ReadFile(std::string(XPSCHAIN_EXAMPLES_DIR "/tickets/") + row.file));
        ASSERT_EQ(merged.hr, S_OK) << row.file << ": " << merged.message;
        EXPECT_EQ(XPath(merged.text, row.xpath), row.expected) << row.file;
    }
}

TEST(PrinterDescription, DefaultTicketHoldsTheFilterRecordsNeutralValues)
{
    const std::string ticket = DefaultTicket(kDefaultPrinterName);
    EXPECT_EQ(XPath(ticket, "//psf:Property[@name='xc:JobInfoData']/psf:Property[@name='xc:CodePage']/psf:Value"), "1252");
    EXPECT_EQ(XPath(ticket, "//psf:ParameterInit[@name='xc:JobBindBookletDivideSheets']/psf:Value"), "5");
    EXPECT_EQ(XPath(ticket, "//psf:ParameterInit[@name='psk:JobCopiesAllDocuments']/psf:Value"), "1");
    EXPECT_EQ(XPath(ticket, "//psf:Feature[@name='psk:PageResolution']/psf:Option/psf:ScoredProperty[@name='psk:ResolutionX']/psf:Value"), "600");
    EXPECT_EQ(XPath(ticket, "count(/psf:PrintTicket/psf:Feature)"), "16");
}

TEST(PrinterDescription, UnknownPrinterIsRefused)
{
    HPTPROVIDER provider = nullptr;
    EXPECT_EQ(PTOpenProvider("No Such Printer", 1, &provider), HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(provider, nullptr);
    std::string ticket;
    EXPECT_EQ(PTGetDefaultPrintTicket("No Such Printer", &ticket), HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(PTOpenProvider(kDefaultPrinterName, 2, &provider), E_INVALIDARG);
}

struct FaultyCase {
    const char* name;
    const char* body;        // inside PrinterDescription
    const char* inMessage;
};

class FaultyDescriptions : public ::testing::TestWithParam<FaultyCase> {};

TEST_P(FaultyDescriptions, AreRefusedWithTheLine)
{
    const std::string text = std::string(R"(<PrinterDescription xmlns="http://schemas.xpschain.org/printing/2026/printer-description"
  xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords" name="Faulty" version="1">
)") + GetParam().body + "\n</PrinterDescription>";
    std::string name;
    std::string error;
    EXPECT_EQ(PTRegisterPrinterDescriptionXml(text, &name, &error), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_NE(error.find("line "), std::string::npos) << error;
    EXPECT_NE(error.find(GetParam().inMessage), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FaultyDescriptions,
    ::testing::Values(
        FaultyCase{"FeatureWithoutOption", R"(<Feature name="psk:PageOrientation"/>)", "has no option"},
        FaultyCase{"UnknownParameter",
                   R"(<Feature name="psk:PageMediaSize"><Option name="psk:CustomMediaSize"><ScoredProperty name="psk:MediaSizeWidth" parameter="psk:Nowhere"/></Option></Feature>)",
                   "psk:Nowhere"},
        FaultyCase{"DefaultOutOfRange", R"(<Parameter name="psk:JobCopiesAllDocuments" type="integer" default="0" min="1" max="9"/>)",
                   "between min and max"},
        FaultyCase{"UndeclaredPrefix", R"(<Feature name="nope:Thing"><Option name="nope:A"/></Feature>)", "undeclared prefix"},
        FaultyCase{"TwoDefaults", R"(<Feature name="psk:PageOrientation"><Option name="psk:Portrait" default="true"/><Option name="psk:Landscape" default="true"/></Feature>)",
                   "one default"},
        FaultyCase{"UnnamedOptionWithoutValue", R"(<Feature name="psk:JobNUpAllDocumentsContiguously"><Option/></Feature>)",
                   "unnamed option"},
        FaultyCase{"TypoInAnElement", R"(<Featrue name="psk:PageOrientation"/>)", "Featrue"}),
    [](const ::testing::TestParamInfo<FaultyCase>& row) { return std::string(row.param.name); });

TEST(PrinterDescription, MissingFileIsReportedByName)
{
    std::string error;
    EXPECT_EQ(PTRegisterPrinterDescription("/nonexistent/printer.xml", nullptr, &error), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(error.find("/nonexistent/printer.xml"), std::string::npos) << error;
}

TEST(PrinterDescription, ProvidersOpenWhileOtherThreadsRegister)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) {
                const std::string name = "Concurrent Printer " + std::to_string(t);
                const std::string text = std::string(R"(<PrinterDescription xmlns="http://schemas.xpschain.org/printing/2026/printer-description"
                    xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords" version="1" name=")") +
                                         name + R"("><Feature name="psk:PageOrientation"><Option name="psk:Portrait"/></Feature></PrinterDescription>)";
                EXPECT_EQ(PTRegisterPrinterDescriptionXml(text, nullptr, nullptr), S_OK);
                HPTPROVIDER provider = nullptr;
                EXPECT_EQ(PTOpenProvider(name.c_str(), 1, &provider), S_OK);
                EXPECT_EQ(PTCloseProvider(provider), S_OK);
                EXPECT_EQ(PTOpenProvider(kDefaultPrinterName, 1, &provider), S_OK);
                EXPECT_EQ(PTCloseProvider(provider), S_OK);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
}

} // namespace
