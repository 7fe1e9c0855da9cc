// The RIP filter in an in-process pipeline with the real converter libraries of the build.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/printticket/PrintTicketProvider.h"
#include "platform/spooler/Spooler.h"
#include "rip/PageDeviceCodes.h"
#include "rip/RipFilter.h"
#include "tests/rip/ConverterHarness.h"
#include "tests/support/TestPipeline.h"

namespace {

constexpr char kPageMarkup[] =
    R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="816" Height="1056">)"
    R"(<Path Data="M 0,0 L 10,10" Fill="#FF000000"/></FixedPage>)";

std::string PageTicket(const std::string& features)
{
    return R"(<psf:PrintTicket xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework")"
           R"( xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords")"
           R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns:xsd="http://www.w3.org/2001/XMLSchema")"
           R"( version="1">)" +
           features + "</psf:PrintTicket>";
}

std::string MediaFeature(const char* name, int width, int height)
{
    return std::string(R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:)") + name +
           R"("><psf:ScoredProperty name="psk:MediaSizeWidth"><psf:Value xsi:type="xsd:integer">)" +
           std::to_string(width) +
           R"(</psf:Value></psf:ScoredProperty><psf:ScoredProperty name="psk:MediaSizeHeight"><psf:Value xsi:type="xsd:integer">)" +
           std::to_string(height) + "</psf:Value></psf:ScoredProperty></psf:Option></psf:Feature>";
}

std::string OrientationFeature(const char* name)
{
    return std::string(R"(<psf:Feature name="psk:PageOrientation"><psf:Option name="psk:)") + name +
           R"("/></psf:Feature>)";
}

class CProgressRecorder final : public CComBase<IPrintPipelineProgressReport> {
public:
    HRESULT ReportProgress(EXpsJobConsumption update) override
    {
        updates.push_back(update);
        return S_OK;
    }
    std::vector<EXpsJobConsumption> updates;
};

// One print job through the RIP filter: XpsDocument, sequence, one document, the given pages.
struct RipJob {
    explicit RipJob(std::vector<ComPtr<IUnknown>> pages)
    {
        std::vector<ComPtr<IUnknown>> parts = {
            AsPart(MakeTestObject<CTestXpsDocument>().Get()),
            AsPart(MakeTestObject<CTestFixedDocumentSequence>("/FixedDocumentSequence.fdseq").Get()),
            AsPart(MakeTestObject<CTestFixedDocument>("/Documents/1/FixedDocument.fdoc").Get())};
        parts.insert(parts.end(), pages.begin(), pages.end());
        pipeline = std::make_unique<TestPipeline>(std::move(parts));
        pipeline->communicator->writer = static_cast<IUnknown*>(MakeTestObject<CTestWriteStream>(device).Get());
    }

    // Makes the filter (loading PRNCORE from the current driver directory) and runs the job.
    HRESULT Run()
    {
        filter.Attach(new CRipFilter());
        EXPECT_EQ(pipeline->Initialize(filter.Get()), S_OK);
        return filter->StartOperation();
    }

    std::vector<LoggedCall> Calls() const { return ParseCallLog(device->bytes); }
    std::vector<LoggedCall> CallsNamed(const std::string& name) const
    {
        std::vector<LoggedCall> out;
        for (auto& call : Calls())
            if (call.Call() == name)
                out.push_back(call);
        return out;
    }
    std::vector<HRESULT> Shutdowns() const { return pipeline->managerControl->ShutdownRequests(); }

    std::shared_ptr<TestContent> device = std::make_shared<TestContent>();
    std::unique_ptr<TestPipeline> pipeline;
    ComPtr<CRipFilter> filter;
};

ComPtr<IUnknown> Page(int number, const std::string& markup = kPageMarkup, const std::string& ticket = {})
{
    const std::string uri = "/Documents/1/Pages/" + std::to_string(number) + ".fpage";
    ComPtr<CTestPrintTicketPart> ticketPart;
    if (!ticket.empty())
        ticketPart = MakeTicketPart("/Documents/1/Metadata/Page" + std::to_string(number) + "_PT.xml", ticket);
    return AsPart(MakeTestObject<CTestFixedPage>(uri, markup, ticketPart.Get()).Get());
}

TEST(PageDeviceCodes, Rotation)
{
    struct Case {
        bool landscape;
        std::int32_t portrait, landscapeDegrees, code;
    } const cases[] = {
        {false, 0, 270, 2}, {false, 90, 270, 3}, {false, 180, 270, 4}, {false, 270, 270, 5}, {false, 45, 270, 2},
        {true, 0, 0, 2},    {true, 0, 90, 3},    {true, 0, 180, 4},    {true, 0, 270, 5},    {true, 0, 45, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RotationCode(c.landscape, c.portrait, c.landscapeDegrees), c.code)
            << c.landscape << " " << c.portrait << " " << c.landscapeDegrees;
}

TEST(PageDeviceCodes, PlanesAndResolution)
{
    EXPECT_EQ(PlaneCode(1), 1);
    EXPECT_EQ(PlaneCode(2), 3);
    EXPECT_EQ(PlaneCode(3), 3);
    EXPECT_EQ(PlaneCode(4), 4);
    struct Case {
        bool read;
        std::int32_t x, y, outX, outY;
    } const cases[] = {
        {true, 1200, 1200, 1200, 1200}, {true, 300, 300, 300, 300}, {true, 150, 150, 150, 150},
        {true, 600, 1200, 600, 600},    {true, 2400, 2400, 600, 600}, {false, 300, 300, 600, 600},
    };
    for (const Case& c : cases) {
        const PageResolution r = ConverterResolution(c.read, c.x, c.y);
        EXPECT_EQ(r.x, c.outX) << c.x << "x" << c.y;
        EXPECT_EQ(r.y, c.outY) << c.x << "x" << c.y;
    }
}

TEST(RipFilter, JobRecordDevModeAndPageValuesReachTheConverter)
{
    JobInfo info;
    info.jobId = kTestJobId;
    info.printerName = kDefaultPrinterName;
    info.document = "Quarterly report.docx";
    SpoolerAddPrinter(kDefaultPrinterName);
    SpoolerAddJob(info);
    RipJob job({Page(1, kPageMarkup, PageTicket(MediaFeature("ISOA5", 148000, 210000) + OrientationFeature("Landscape")))});
    job.pipeline->propertyBag->SetString("EncDllName64", "encoder64.so");
    EXPECT_EQ(job.Run(), S_OK);
    SpoolerRemoveJob(kTestJobId);
    EXPECT_TRUE(job.Shutdowns().empty());
    EXPECT_TRUE(job.device->closed);

    const auto calls = job.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().Call(), "PrnCtrlOpen");
    EXPECT_EQ(calls.front().Get("output"), "driverout");
    EXPECT_EQ(calls.front().Get("printer"), kDefaultPrinterName);
    EXPECT_EQ(calls.front().Get("document"), "Quarterly report.docx");
    EXPECT_EQ(calls.front().Number("jobId"), kTestJobId);
    EXPECT_EQ(calls.front().Number("one"), 1);
    // The encoder sits beside the filter's own file.
    const std::string encoder = calls.front().Get("encoder");
    EXPECT_TRUE(encoder.ends_with("/encoder64.so")) << encoder;

    const auto devModes = job.CallsNamed("DevModeSet");
    ASSERT_EQ(devModes.size(), 1u);
    EXPECT_EQ(devModes[0].Number("orientation"), DMORIENT_LANDSCAPE);
    EXPECT_EQ(devModes[0].Number("paperWidth"), 1480);
    const auto pages = job.CallsNamed("XpsSetPageDevice");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].Number("width"), 148000);
    EXPECT_EQ(pages[0].Number("height"), 210000);
    EXPECT_EQ(pages[0].Number("rotation"), 5);  // LandscapeRotation 270 by default
    EXPECT_EQ(pages[0].Number("resX"), 600);
    EXPECT_EQ(pages[0].Number("planeCode"), 3);
    EXPECT_EQ(pages[0].Number("planes"), 3);
    EXPECT_EQ(pages[0].Number("bitsPerPixel"), 8);

    std::vector<std::string> order;
    for (const auto& call : calls)
        if (order.empty() || order.back() != call.Call())
            order.push_back(call.Call());
    EXPECT_EQ(order, (std::vector<std::string>{"PrnCtrlOpen", "PrnCtrlXPS2SPDLOpen", "GetConvCntFromSPDLCnt",
                                               "DevModeSet", "XpsSetConvResAPI", "XpsSetPageDevice", "XPSStartElem",
                                               "XPSReadAtt", "XPSStartElem", "XPSReadAtt", "XPSEndCurElem",
                                               "XPSEndElem", "PrnCtrlXPS2SPDLClose", "PrnCtrlClose"}));
}

TEST(RipFilter, OutputPropertiesDecideRotationAndPlanes)
{
    struct Case {
        const char* orientation;
        std::int32_t portraitRotation, landscapeRotation, planes, bits;
        long rotationCode, planeCode;
    } const cases[] = {
        {"Portrait", 45, 270, 2, 1, 2, 3},
        {"Landscape", 0, 45, 4, 8, 5, 4},
        {"ReverseLandscape", 0, 90, 1, 1, 3, 1},
        {"Portrait", 180, 0, 3, 8, 4, 3},
    };
    for (const Case& c : cases) {
        RipJob job({Page(1, kPageMarkup, PageTicket(OrientationFeature(c.orientation)))});
        job.pipeline->propertyBag->SetInteger("PortraitRotation", c.portraitRotation);
        job.pipeline->propertyBag->SetInteger("LandscapeRotation", c.landscapeRotation);
        job.pipeline->propertyBag->SetInteger("OutputPlanes", c.planes);
        job.pipeline->propertyBag->SetInteger("OutputBitsPixel", c.bits);
        EXPECT_EQ(job.Run(), S_OK);
        const auto pages = job.CallsNamed("XpsSetPageDevice");
        ASSERT_EQ(pages.size(), 1u) << c.orientation;
        EXPECT_EQ(pages[0].Number("rotation"), c.rotationCode) << c.orientation << " " << c.landscapeRotation;
        EXPECT_EQ(pages[0].Number("planeCode"), c.planeCode) << c.planes;
        EXPECT_EQ(pages[0].Number("planes"), c.planes);
        EXPECT_EQ(pages[0].Number("bitsPerPixel"), c.bits);
    }
}

TEST(RipFilter, ProgressIsReportedOnlyWhenAsked)
{
    {
        RipJob job({Page(1), Page(2)});
        EXPECT_EQ(job.Run(), S_OK);
        EXPECT_EQ(job.CallsNamed("XpsSetPageDevice").size(), 2u);
    }
    RipJob job({Page(1), Page(2)});
    auto progress = MakeTestObject<CProgressRecorder>();
    job.pipeline->propertyBag->SetUnknown("ProgressReport", progress.Get());
    EXPECT_EQ(job.Run(), S_OK);
    EXPECT_EQ(progress->updates, (std::vector<EXpsJobConsumption>{XpsJob_DocumentSequenceAdded,
                                                                   XpsJob_FixedDocumentAdded, XpsJob_FixedPageAdded,
                                                                   XpsJob_FixedPageAdded}));
    // The property is the job's: it is gone afterwards.
    CVariant value;
    EXPECT_TRUE(FAILED(job.pipeline->propertyBag->GetProperty("ProgressReport", &value)));
}

TEST(RipFilter, FailingPageEndsTheJobWithAnErrorAndKeepsWhatWasWritten)
{
    RipJob job({Page(1), Page(2, "<FixedPage><Path></FixedPage>"), Page(3)});
    testing::internal::CaptureStderr();
    EXPECT_EQ(job.Run(), S_OK);
    const std::string message = testing::internal::GetCapturedStderr();
    ASSERT_EQ(job.Shutdowns().size(), 1u);
    EXPECT_TRUE(FAILED(job.Shutdowns()[0]));
    EXPECT_NE(message.find("/Documents/1/Pages/2.fpage"), std::string::npos) << message;
    EXPECT_EQ(job.pipeline->managerControl->FinishedCount(), 1);
    // Page 1 was converted and stays written; page 3 never came; the converter was not closed.
    EXPECT_EQ(job.CallsNamed("XpsSetPageDevice").size(), 2u);
    EXPECT_TRUE(job.CallsNamed("PrnCtrlClose").empty());
    EXPECT_TRUE(job.device->closed);
}

TEST(RipFilter, CancelledJobStopsQuietly)
{
    SpoolerAddPrinter(kDefaultPrinterName);
    JobInfo info;
    info.jobId = kTestJobId;
    info.printerName = kDefaultPrinterName;
    info.status = JOB_STATUS_DELETING;
    SpoolerAddJob(info);
    RipJob job({Page(1, R"(<FixedPage><Path><Path.Fill><ImageBrush ImageSource="/a.png"/></Path.Fill></Path></FixedPage>)"),
                Page(2)});
    EXPECT_EQ(job.Run(), S_OK);
    SpoolerRemoveJob(kTestJobId);
    EXPECT_TRUE(job.Shutdowns().empty());
    EXPECT_EQ(job.CallsNamed("XpsSetPageDevice").size(), 1u);
}

TEST(RipFilter, ShutdownStopsAtTheNextPartWithoutError)
{
    RipJob job({Page(1), Page(2), Page(3)});
    job.pipeline->provider->beforePart = [&](std::size_t index) {
        if (index == 4)
            job.filter->ShutdownOperation();
        return S_OK;
    };
    EXPECT_EQ(job.Run(), S_OK);
    EXPECT_TRUE(job.Shutdowns().empty());
    EXPECT_EQ(job.pipeline->managerControl->FinishedCount(), 1);
    EXPECT_EQ(job.CallsNamed("XpsSetPageDevice").size(), 1u);
    // The converter is closed as at any end of the parts.
    EXPECT_EQ(job.CallsNamed("PrnCtrlClose").size(), 1u);
}

TEST(RipFilter, FailedDeviceWriteEndsTheJob)
{
    RipJob job({Page(1), Page(2)});
    auto stream = MakeTestObject<CTestWriteStream>(job.device);
    stream->failAfter = 200;
    job.pipeline->communicator->writer = static_cast<IUnknown*>(stream.Get());
    EXPECT_EQ(job.Run(), S_OK);
    ASSERT_EQ(job.Shutdowns().size(), 1u);
    EXPECT_EQ(job.Shutdowns()[0], E_FAIL);
}

TEST(RipFilter, OtherPartsProduceNoOutput)
{
    RipJob job({AsPart(MakeTestObject<CTestImagePart>("/Resources/a.png", "png").Get())});
    EXPECT_EQ(job.Run(), S_OK);
    EXPECT_TRUE(job.Shutdowns().empty());
    EXPECT_TRUE(job.CallsNamed("DevModeSet").empty());
    EXPECT_EQ(job.CallsNamed("PrnCtrlClose").size(), 1u);
}

class BrokenDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = std::filesystem::path(::testing::TempDir()) / ("rip-driver-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory / "3");
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    // Runs a job against the driver directory; gives what the filter wrote on standard error.
    std::string RunJob(RipJob& job, HRESULT* started)
    {
        ScopedDriverDirectory driver(directory.string());
        testing::internal::CaptureStderr();
        *started = job.Run();
        return testing::internal::GetCapturedStderr();
    }

    std::filesystem::path directory;
};

TEST_F(BrokenDriver, MissingPrnCoreEndsTheJobNamingTheLibrary)
{
    RipJob job({Page(1)});
    HRESULT started = S_OK;
    const std::string message = RunJob(job, &started);
    EXPECT_EQ(started, E_FAIL);
    ASSERT_EQ(job.Shutdowns().size(), 1u);
    EXPECT_EQ(job.Shutdowns()[0], HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    EXPECT_NE(message.find((directory / "3" / "libprncore.so").string()), std::string::npos) << message;
    EXPECT_TRUE(job.device->bytes.empty());
}

TEST_F(BrokenDriver, PrnCoreWithoutItsEntryPointsEndsTheJobNamingTheLibrary)
{
    // A library of the driver put under the wrong name: it has none of PRNCORE's entry points.
    std::filesystem::copy_file(std::filesystem::path(XPSCHAIN_DRIVER_DIR) / "3" / "libxpsfeed.so",
                               directory / "3" / "libprncore.so");
    RipJob job({Page(1)});
    HRESULT started = S_OK;
    const std::string message = RunJob(job, &started);
    EXPECT_EQ(started, E_FAIL);
    ASSERT_EQ(job.Shutdowns().size(), 1u);
    EXPECT_EQ(job.Shutdowns()[0], HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    EXPECT_NE(message.find("libprncore.so lacks the entry point PrnCtrlOpen"), std::string::npos) << message;
}

TEST_F(BrokenDriver, MissingXpsFeedFailsThePageNamingTheLibrary)
{
    std::filesystem::copy_file(std::filesystem::path(XPSCHAIN_DRIVER_DIR) / "3" / "libprncore.so",
                               directory / "3" / "libprncore.so");
    RipJob job({Page(1)});
    HRESULT started = E_FAIL;
    const std::string message = RunJob(job, &started);
    EXPECT_EQ(started, S_OK);
    ASSERT_EQ(job.Shutdowns().size(), 1u);
    EXPECT_EQ(job.Shutdowns()[0], E_FAIL);
    EXPECT_NE(message.find((directory / "3" / "libxpsfeed.so").string()), std::string::npos) << message;
    EXPECT_EQ(job.CallsNamed("DevModeSet").size(), 1u);
    EXPECT_TRUE(job.CallsNamed("XpsSetPageDevice").empty());
}

} // namespace
