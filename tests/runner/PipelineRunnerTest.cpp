// The runner with filters that pass the job on, fail, or stop early: the job's outcome names the
// filter and the part, and no filter is left waiting.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

#include "host/runner/JobDescription.h"
#include "host/runner/PipelineRunner.h"
#include "tests/runner/TestFilterClasses.h"

namespace {

class PipelineRunnerTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/xpschain-runner-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        directory = pattern;
        // The plug-in directory: the test plug-in beside a real filter.
        std::filesystem::create_symlink(TEST_FILTER_MODULE, directory + "/libtestfilter.so");
        std::filesystem::create_symlink(PREP_FILTER_MODULE, directory + "/libprepfilter.so");
        JobDescription job;
        job.printerName = "xpschain Default Printer";
        job.documentName = "sample.xps";
        job.userTicketXml = kTicket;
        std::string error;
        ASSERT_EQ(S_OK, FillPropertyBag(job, properties.Get(), &error)) << error;
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    // A chain of the test filter behaving so, then the preparation filter writing the package.
    JobOutcome Run(TestFilterBehaviour behaviour, std::size_t linkCapacity = 16)
    {
        JobRequest request;
        for (const TestFilterClass& c : kTestFilterClasses) {
            if (c.behaviour == behaviour)
                request.pipeline.filters.push_back({"testfilter", "libtestfilter.so", c.classId, FilterOutput::kXps});
        }
        request.pipeline.filters.push_back(
            {"prepfilter", "libprepfilter.so", *ParseGuid("{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"), FilterOutput::kXps});
        request.pluginDirectory = directory;
        request.inputPath = XPSCHAIN_SOURCE_DIR "/examples/jobs/sample.xps";
        request.outputPath = directory + "/out.xps";
        request.properties = properties.Get();
        request.linkCapacity = linkCapacity;
        return runner.Run(request);
    }

    static constexpr char kTicket[] =
        R"(<psf:PrintTicket xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework" version="1"/>)";
    std::string directory;
    ComPtr<CPropertyBag> properties = CPropertyBag::Create();
    CPipelineRunner runner;
};

TEST_F(PipelineRunnerTest, AJobThatGoesThroughIsDone)
{
    const JobOutcome outcome = Run(TestFilterBehaviour::kPassThrough);
    EXPECT_EQ(JobStatus::kDone, outcome.status) << outcome.message;
    EXPECT_EQ(8u, outcome.pages);
    EXPECT_TRUE(std::filesystem::file_size(directory + "/out.xps") > 0);
}

TEST_F(PipelineRunnerTest, AShutdownRequestFailsTheJobNamingFilterAndPart)
{
    const JobOutcome outcome = Run(TestFilterBehaviour::kFailAtFirstPage);
    EXPECT_EQ(JobStatus::kFailed, outcome.status);
    EXPECT_EQ("testfilter failed on /Documents/1/Pages/1.fpage: 0x80070057 (invalid argument)", outcome.message);
}

// The filter that quits says nothing, as the RIP filter does after a failed page; the filter after
// it would wait for parts forever and the one before it at a full link, were the job not ended.
TEST_F(PipelineRunnerTest, AFilterThatStopsEarlyFailsTheJobInsteadOfHangingIt)
{
    for (const std::size_t capacity : {std::size_t{1}, std::size_t{16}}) {
        const JobOutcome outcome = Run(TestFilterBehaviour::kQuitAtFirstPage, capacity);
        EXPECT_EQ(JobStatus::kFailed, outcome.status);
        EXPECT_EQ("testfilter stopped before the end of the job, at /Documents/1/Pages/1.fpage", outcome.message);
    }
}

TEST_F(PipelineRunnerTest, AFilterThatNeverClosesItsOutputFailsTheJob)
{
    const JobOutcome outcome = Run(TestFilterBehaviour::kNeverClose);
    EXPECT_EQ(JobStatus::kFailed, outcome.status);
    EXPECT_EQ("testfilter ended without closing its output", outcome.message);
}

TEST_F(PipelineRunnerTest, AnInterruptEndsTheJobAsInterrupted)
{
    runner.Interrupt(SIGINT);
    const JobOutcome outcome = Run(TestFilterBehaviour::kPassThrough);
    EXPECT_EQ(JobStatus::kInterrupted, outcome.status);
    EXPECT_EQ(SIGINT, outcome.signal);
}

TEST_F(PipelineRunnerTest, AMissingPluginIsNamed)
{
    std::filesystem::remove(directory + "/libtestfilter.so");
    const JobOutcome outcome = Run(TestFilterBehaviour::kPassThrough);
    EXPECT_EQ(JobStatus::kFailed, outcome.status);
    EXPECT_EQ(0u, outcome.message.find("filter 'testfilter': cannot load " + directory + "/libtestfilter.so")) << outcome.message;
}

} // namespace
