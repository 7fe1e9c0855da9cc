// What the filters find in the property bag and the spooler view.
#include <gtest/gtest.h>

#include "host/runner/JobDescription.h"
#include "platform/spooler/Spooler.h"

namespace {

std::string ReadAll(IPrintReadStream* stream)
{
    std::string text;
    char buffer[7];
    BOOL end = 0;
    while (!end) {
        ULONG read = 0;
        EXPECT_EQ(S_OK, stream->ReadBytes(buffer, sizeof buffer, &read, &end));
        text.append(buffer, read);
    }
    return text;
}

JobDescription SampleJob()
{
    JobDescription job;
    job.jobId = 42;
    job.printerName = "Office Printer";
    job.documentName = "report.xps";
    job.userName = "ada";
    job.userTicketXml = "<psf:PrintTicket/>";
    job.driverDirectory = "/opt/driver";
    return job;
}

TEST(JobDescriptionTest, TheBagCarriesPrinterJobAndTicket)
{
    const auto bag = CPropertyBag::Create();
    std::string error;
    ASSERT_EQ(S_OK, FillPropertyBag(SampleJob(), bag.Get(), &error)) << error;

    CVariant printer, job, ticket;
    ASSERT_EQ(S_OK, bag->GetProperty("PrinterName", &printer));
    ASSERT_EQ(VT_BSTR, printer.vt);
    EXPECT_EQ("Office Printer", BstrToUtf8(printer.bstrVal));
    ASSERT_EQ(S_OK, bag->GetProperty("PrintJobId", &job));
    EXPECT_EQ(VT_I4, job.vt);
    EXPECT_EQ(42, job.lVal);
    ASSERT_EQ(S_OK, bag->GetProperty("PerUserPrintTicket", &ticket));
    ASSERT_EQ(VT_UNKNOWN, ticket.vt);
    ComPtr<IPrintReadStreamFactory> factory;
    ASSERT_EQ(S_OK, QueryTo(ticket.punkVal, &factory));
    // Every filter gets a stream of its own, from the start.
    ComPtr<IPrintReadStream> first, second;
    ASSERT_EQ(S_OK, factory->GetStream(first.Put()));
    EXPECT_EQ("<psf:PrintTicket/>", ReadAll(first.Get()));
    ASSERT_EQ(S_OK, factory->GetStream(second.Put()));
    EXPECT_EQ("<psf:PrintTicket/>", ReadAll(second.Get()));

    CVariant absent;
    EXPECT_TRUE(FAILED(bag->GetProperty("PrintClassFactory", &absent)));
}

TEST(JobDescriptionTest, ExtraPropertiesAreNumbersOrText)
{
    JobDescription job = SampleJob();
    struct Case {
        const char* name;
        const char* value;
        VARTYPE type;
    };
    const Case cases[] = {
        {"LandscapeRotation", "90", VT_I4},      {"Negative", "-270", VT_I4}, {"Text", "EncoderX.dll", VT_BSTR},
        {"NotANumber", "12a", VT_BSTR},          {"TooBig", "99999999999", VT_BSTR}, {"Empty", "", VT_BSTR},
        {"PrinterName", "Overridden", VT_BSTR},
    };
    for (const Case& c : cases)
        job.extraProperties.emplace_back(c.name, c.value);
    const auto bag = CPropertyBag::Create();
    std::string error;
    ASSERT_EQ(S_OK, FillPropertyBag(job, bag.Get(), &error)) << error;
    for (const Case& c : cases) {
        CVariant value;
        ASSERT_EQ(S_OK, bag->GetProperty(c.name, &value)) << c.name;
        ASSERT_EQ(c.type, value.vt) << c.name;
        if (c.type == VT_I4)
            EXPECT_EQ(std::stoi(c.value), value.lVal) << c.name;
        else
            EXPECT_EQ(c.value, BstrToUtf8(value.bstrVal)) << c.name;
    }
    EXPECT_TRUE(bag->DeleteProperty("Text"));
    EXPECT_FALSE(bag->DeleteProperty("Text"));
    CVariant gone;
    EXPECT_TRUE(FAILED(bag->GetProperty("Text", &gone)));
}

TEST(JobDescriptionTest, TheSpoolerViewAnswersForThePublishedJob)
{
    const JobDescription job = SampleJob();
    PublishJob(job);
    EXPECT_EQ("/opt/driver", GetPrinterDriverDirectoryW());

    HPRINTER printer = nullptr;
    ASSERT_EQ(S_OK, OpenPrinterW("Office Printer", &printer));
    JobInfo info;
    ASSERT_EQ(S_OK, GetJobW(printer, 42, &info));
    EXPECT_EQ("report.xps", info.document);
    EXPECT_EQ("ada", info.userName);
    EXPECT_EQ("Office Printer", info.printerName);
    EXPECT_EQ(JOB_STATUS_PRINTING, info.status);
    EXPECT_GT(info.submittedUnixSeconds, 1700000000);
    SpoolerSetJobStatus(42, JOB_STATUS_DELETING);
    ASSERT_EQ(S_OK, GetJobW(printer, 42, &info));
    EXPECT_EQ(JOB_STATUS_DELETING, info.status);
    EXPECT_EQ(ResultNotFound, GetJobW(printer, 43, &info));
    SpoolerRemoveJob(42);
    EXPECT_EQ(ResultNotFound, GetJobW(printer, 42, &info));
    ClosePrinter(printer);

    HPRINTER unknown = nullptr;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME), OpenPrinterW("Nobody's Printer", &unknown));
    EXPECT_EQ(nullptr, unknown);
}

TEST(JobDescriptionTest, TheUserHasAName)
{
    EXPECT_FALSE(LoginUserName().empty());
}

} // namespace
