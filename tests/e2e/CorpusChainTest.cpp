// Every package of the corpus goes through the chain up to the finisher and comes out as a
// package that independent readers take and render exactly as they render the job.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/ScratchDirectory.h"

namespace {

class CorpusChainTest : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(CorpusChainTest, ComesOutAsAPackageThatRendersTheSame)
{
    CScratchDirectory scratch;
    const std::string job = GetParam().string();
    const std::string output = scratch.File("out.xps");
    const ProcessResult run = RunPrint(job, output, {"--stop-after", "finishfilter", "--quiet"});
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("", run.err) << "--quiet says nothing on success";
    EXPECT_EQ(std::set<std::string>{"out.xps"}, scratch.Names()) << "no temporary file is left";

    const ProcessResult zipTest = RunProcess({"/usr/bin/unzip", "-tq", output});
    EXPECT_EQ(0, zipTest.exitCode) << zipTest.out << zipTest.err;

    std::vector<std::string> before, after;
    ASSERT_TRUE(RenderWithMutool(job, scratch.Path(), "in", &before)) << "the corpus package renders";
    ASSERT_TRUE(RenderWithMutool(output, scratch.Path(), "out", &after)) << "the output renders";
    ASSERT_EQ(before.size(), after.size()) << "page count";
    for (std::size_t i = 0; i < before.size(); ++i) {
        // The images hold their size in the header, so equal bytes are equal sizes and equal pixels.
        EXPECT_TRUE(ReadFileText(before[i]) == ReadFileText(after[i])) << "page " << i + 1 << " renders differently";
    }

    std::vector<std::string> gxpsBefore, gxpsAfter;
    if (RenderWithXpsToPng(job, scratch.Path(), "gin", &gxpsBefore)) {
        EXPECT_TRUE(RenderWithXpsToPng(output, scratch.Path(), "gout", &gxpsAfter)) << "xpstopng renders the output";
        EXPECT_EQ(gxpsBefore.size(), gxpsAfter.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusChainTest, testing::ValuesIn(CorpusPackages()), CorpusTestName);

class BrokenCorpusTest : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(BrokenCorpusTest, IsRefusedCleanly)
{
    CScratchDirectory scratch;
    const std::string job = GetParam().string();
    const ProcessResult run = RunPrint(job, scratch.File("out.xps"), {"--stop-after", "finishfilter"});
    EXPECT_EQ(1, run.exitCode) << run.err;
    const std::string reason = FailureReason(run, job);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(std::string::npos, reason.find('\n')) << "one line: " << run.err;
    EXPECT_TRUE(scratch.Names().empty()) << "no output and no temporary file";
}

INSTANTIATE_TEST_SUITE_P(Corpus, BrokenCorpusTest, testing::ValuesIn(CorpusFiles("broken")), CorpusTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BrokenCorpusTest);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusChainTest);

} // namespace

namespace {
// Without the corpus the tests above would have nothing to run and pass unnoticed.
TEST(CorpusPresenceTest, TheCorpusIsThere)
{
    EXPECT_GE(CorpusPackages().size(), 30u) << CorpusDir();
    EXPECT_GE(CorpusFiles("broken").size(), 1u) << CorpusDir();
}
} // namespace
