// The whole chain on the bundled sample job, the stop points, and what the command tells about itself.
#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/ScratchDirectory.h"

namespace {

const std::string kSampleJob = kSourceDirectory + "/examples/jobs/sample.xps";

TEST(ChainTest, TheWholeChainWritesDeviceData)
{
    CScratchDirectory scratch;
    const ProcessResult run = RunPrint(kSampleJob, scratch.File("sample.prn"));
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("8 pages written to " + scratch.File("sample.prn"))) << run.err;
    EXPECT_EQ(std::set<std::string>{"sample.prn"}, scratch.Names());
    const std::string data = ReadFileText(scratch.File("sample.prn"));
    EXPECT_FALSE(data.empty());
    EXPECT_NE(0, data.compare(0, 2, "PK")) << "device data, not a package";
}

TEST(ChainTest, TheSameJobGivesTheSameBytes)
{
    CScratchDirectory scratch;
    ASSERT_EQ(0, RunPrint(kSampleJob, scratch.File("a.xps"), {"--stop-after", "finishfilter", "-q"}).exitCode);
    ASSERT_EQ(0, RunPrint(kSampleJob, scratch.File("b.xps"), {"--stop-after", "finishfilter", "-q"}).exitCode);
    EXPECT_TRUE(ReadFileText(scratch.File("a.xps")) == ReadFileText(scratch.File("b.xps")));
}

class StopAfterTest : public testing::TestWithParam<std::string> {};

TEST_P(StopAfterTest, WritesAPackageOfEveryPage)
{
    CScratchDirectory scratch;
    const ProcessResult run = RunPrint(kSampleJob, scratch.File("out.xps"), {"--stop-after", GetParam(), "--quiet"});
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(0, RunProcess({"/usr/bin/unzip", "-tq", scratch.File("out.xps")}).exitCode);
    std::vector<std::string> pages;
    ASSERT_TRUE(RenderWithMutool(scratch.File("out.xps"), scratch.Path(), "page", &pages));
    EXPECT_EQ(8u, pages.size());
}

INSTANTIATE_TEST_SUITE_P(Filters, StopAfterTest, testing::Values("prepfilter", "orderfilter", "layoutfilter", "finishfilter"));

// Options that cannot work are refused before anything is written, with exit status 2.
TEST(ChainTest, UnusableOptionsAreUsageErrors)
{
    CScratchDirectory scratch;
    const std::string job = scratch.File("job.xps");
    std::filesystem::copy_file(kSampleJob, job);
    std::filesystem::create_directory(scratch.File("folder"));
    ASSERT_EQ(0, mkfifo(scratch.File("fifo").c_str(), 0600));
    const std::set<std::string> before = scratch.Names();
    const struct {
        std::string output;
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {scratch.File("out.xps"), {"--stop-after", "colourfilter"}, "no filter named 'colourfilter'"},
        {scratch.File("out.prn"), {"--printer", "Nobody's Printer"}, "unknown printer 'Nobody's Printer'"},
        {scratch.File("folder"), {}, "is a directory"},
        {scratch.File("fifo"), {}, "is not a regular file"},
        {job, {}, "is the job itself"},
        {scratch.File("out.prn"), {"--user-ticket", scratch.File("none.xml")}, "none.xml"},
    };
    for (const auto& c : cases) {
        const ProcessResult run = RunPrint(job, c.output, c.arguments);
        EXPECT_EQ(2, run.exitCode) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
        EXPECT_EQ(before, scratch.Names()) << run.err;
    }
    EXPECT_TRUE(ReadFileText(job) == ReadFileText(kSampleJob)) << "the job is untouched";
}

TEST(ChainTest, VersionListsEveryFilterWithItsVersion)
{
    const ProcessResult run = RunProcess({kXpsChain, "--version"});
    ASSERT_EQ(0, run.exitCode);
    EXPECT_EQ(0u, run.out.find("xpschain 1.2.0\n")) << run.out;
    for (const char* filter : {"prepfilter", "orderfilter", "layoutfilter", "finishfilter", "ripfilter"}) {
        const std::size_t line = run.out.find(filter);
        ASSERT_NE(std::string::npos, line) << run.out;
        EXPECT_NE(std::string::npos, run.out.find("1.2.0.0", line)) << filter << " has its version: " << run.out;
    }
    EXPECT_EQ(std::string::npos, run.out.find("not installed")) << run.out;
}

TEST(ChainTest, HelpNamesTheCommand)
{
    const ProcessResult run = RunProcess({kXpsChain, "--help"});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_NE(std::string::npos, run.out.find("xpschain print JOB.xps -o OUT")) << run.out;
    const ProcessResult wrong = RunProcess({kXpsChain, "frobnicate"});
    EXPECT_EQ(2, wrong.exitCode);
    EXPECT_NE(std::string::npos, wrong.err.find("unknown command")) << wrong.err;
}

} // namespace
