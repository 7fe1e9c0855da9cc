// A user's interrupt during a long job ends it as interrupted, with no output left behind.
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/ScratchDirectory.h"

namespace {

class InterruptTest : public testing::TestWithParam<int> {
protected:
    // One long job for all cases: made once, it is the slow part.
    static void SetUpTestSuite()
    {
        jobDirectory = new CScratchDirectory();
        const ProcessResult made = RunProcess({kXpsGen, "-o", JobPath(), "--pages", "4000", "--no-image"});
        ASSERT_EQ(0, made.exitCode) << made.err;
    }
    static void TearDownTestSuite()
    {
        delete jobDirectory;
        jobDirectory = nullptr;
    }
    static std::string JobPath() { return jobDirectory->File("long.xps"); }

    static CScratchDirectory* jobDirectory;
};

CScratchDirectory* InterruptTest::jobDirectory = nullptr;

// The filters are at work once parts arrive in the temporary output file.
bool WaitForTheOutputToBegin(const CScratchDirectory& scratch, const CBackgroundProcess& process)
{
    for (int i = 0; i < 20000; ++i) {
        for (const std::string& name : scratch.Names()) {
            std::error_code ignored;
            if (name.rfind(".out.xps.", 0) == 0 && std::filesystem::file_size(scratch.File(name), ignored) > 0 &&
                !ignored)
                return true;
        }
        if (kill(process.Pid(), 0) != 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST_P(InterruptTest, EndsTheJobWithoutOutput)
{
    const int signal = GetParam();
    CScratchDirectory scratch;
    CBackgroundProcess process({kXpsChain, "print", JobPath(), "-o", scratch.File("out.xps"), "--stop-after", "finishfilter"},
                               jobDirectory->File("stderr-" + std::to_string(signal)));
    ASSERT_TRUE(WaitForTheOutputToBegin(scratch, process)) << "the job did not start";
    process.Signal(signal);
    const ProcessResult result = process.Wait();

    EXPECT_EQ(128 + signal, result.exitCode) << result.err;
    EXPECT_NE(std::string::npos, result.err.find("interrupted")) << result.err;
    EXPECT_TRUE(scratch.Names().empty()) << "no output and no temporary file";
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptTest, testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& testCase) {
                             return std::string(sigabbrev_np(testCase.param));
                         });

} // namespace
