#include <gtest/gtest.h>

#include <filesystem>

#include "tests/package/PackageTestSupport.h"

namespace {

class CorpusRoundTrip : public testing::TestWithParam<std::filesystem::path> {};

// Read and written straight, a package renders exactly as before.
TEST_P(CorpusRoundTrip, RendersTheSameAfterReadingAndWriting)
{
    ScratchDir dir;
    const std::string input = GetParam().string();
    const std::string output = dir.Path("out.xps");
    CopyPackage(input, output);
    if (HasFatalFailure())
        return;

    const auto [zipStatus, zipOutput] = RunCommand("unzip -tq '" + output + "'");
    EXPECT_EQ(zipStatus, 0) << zipOutput;

    const auto before = RenderWithMutool(input, dir.Path("in"));
    const auto after = RenderWithMutool(output, dir.Path("out"));
    ASSERT_FALSE(before.empty()) << "mutool cannot render the input";
    ASSERT_EQ(after.size(), before.size()) << "page count differs";
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(after[i] == before[i]) << "page " << i + 1 << " renders differently";

    // Where libgxps renders the input it renders the output too.
    const auto [inStatus, inOutput] = RunCommand("xpstopng -r 18 '" + input + "' '" + dir.Path("gin") + "'");
    if (inStatus == 0) {
        const auto [outStatus, outOutput] = RunCommand("xpstopng -r 18 '" + output + "' '" + dir.Path("gout") + "'");
        EXPECT_EQ(outStatus, 0) << outOutput;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRoundTrip, testing::ValuesIn(CorpusPackages()), CorpusTestName);

} // namespace
