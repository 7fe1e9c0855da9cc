// The pipeline configuration: the built-in chain, what a configuration may say and what it may not.
#include <gtest/gtest.h>

#include "host/runner/PipelineConfig.h"

namespace {

TEST(PipelineConfigTest, TheBuiltInChainIsTheDriversFiveFilters)
{
    const PipelineConfig config = DefaultPipelineConfig();
    struct Expected {
        const char* name;
        const char* library;
        const char* clsid;
    };
    const Expected expected[] = {
        {"prepfilter", "libprepfilter.so", "{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"},
        {"orderfilter", "liborderfilter.so", "{0338B91C-FB1A-409B-B13C-F0AE34025A82}"},
        {"layoutfilter", "liblayoutfilter.so", "{565E8DF1-288C-4EAE-BAAC-6DAE5096C63D}"},
        {"finishfilter", "libfinishfilter.so", "{ACF994F0-C691-4546-8141-A7F794D3CE3E}"},
        {"ripfilter", "libripfilter.so", "{4048888E-2F5E-491B-9AF4-5963D0011F0F}"},
    };
    ASSERT_EQ(std::size(expected), config.filters.size());
    for (std::size_t i = 0; i < config.filters.size(); ++i) {
        EXPECT_EQ(expected[i].name, config.filters[i].name);
        EXPECT_EQ(expected[i].library, config.filters[i].library);
        EXPECT_EQ(expected[i].clsid, FormatGuid(config.filters[i].clsid));
        EXPECT_EQ(i + 1 == config.filters.size() ? FilterOutput::kDevice : FilterOutput::kXps, config.filters[i].output);
    }
}

TEST(PipelineConfigTest, TheExampleFileIsTheBuiltInChain)
{
    PipelineConfig fromFile;
    std::string error;
    ASSERT_TRUE(ReadPipelineConfig(XPSCHAIN_SOURCE_DIR "/examples/pipeline.xml", &fromFile, &error)) << error;
    const PipelineConfig builtIn = DefaultPipelineConfig();
    ASSERT_EQ(builtIn.filters.size(), fromFile.filters.size());
    for (std::size_t i = 0; i < builtIn.filters.size(); ++i) {
        EXPECT_EQ(builtIn.filters[i].name, fromFile.filters[i].name);
        EXPECT_EQ(builtIn.filters[i].clsid, fromFile.filters[i].clsid);
    }
}

TEST(PipelineConfigTest, StopAfterKeepsTheFiltersUpToTheNamedOne)
{
    PipelineConfig config = DefaultPipelineConfig();
    std::string error;
    ASSERT_TRUE(TruncatePipeline(&config, "layoutfilter", &error));
    ASSERT_EQ(3u, config.filters.size());
    EXPECT_EQ("layoutfilter", config.filters.back().name);
    EXPECT_EQ(FilterOutput::kXps, config.filters.back().output);

    EXPECT_FALSE(TruncatePipeline(&config, "ripfilter", &error));
    EXPECT_NE(std::string::npos, error.find("no filter named 'ripfilter'")) << error;
    EXPECT_EQ(3u, config.filters.size());
}

TEST(PipelineConfigTest, AConfigurationWithOptionalPartsParses)
{
    const char* text = R"(<?xml version="1.0"?>
<!-- two filters -->
<Pipeline>
  <Filter name="a" library="liba.so" clsid="e16b816c-d1fb-43c8-9b0f-0d68acac1a40" output="xps"/>
  <Filter name="b" library="libb.so" clsid="{4048888E-2F5E-491B-9AF4-5963D0011F0F}" output="device"></Filter>
</Pipeline>)";
    PipelineConfig config;
    std::string error;
    ASSERT_TRUE(ParsePipelineConfig(text, &config, &error)) << error;
    ASSERT_EQ(2u, config.filters.size());
    EXPECT_EQ("{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}", FormatGuid(config.filters[0].clsid));
    EXPECT_EQ(FilterOutput::kDevice, config.filters[1].output);
}

struct BadConfig {
    const char* what;
    const char* text;
    const char* message;  // part of the error
};

class PipelineConfigRefusalTest : public testing::TestWithParam<BadConfig> {};

const BadConfig kBadConfigs[] = {
    {"not xml", "<Pipeline><Filter", ""},
    {"wrong root", "<Filters/>", "root element is <Filters>"},
    {"no filter", "<Pipeline/>", "lists no filter"},
    {"unknown element", "<Pipeline><Stage/></Pipeline>", "unexpected element <Stage>"},
    {"nested filter", R"(<Pipeline><Filter name="a" library="a.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"><Filter/></Filter></Pipeline>)",
     "unexpected element <Filter>"},
    {"no clsid", R"(<Pipeline><Filter name="a" library="liba.so"/></Pipeline>)", "needs the attributes"},
    {"no name", R"(<Pipeline><Filter library="liba.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/></Pipeline>)",
     "needs the attributes"},
    {"bad clsid", R"(<Pipeline><Filter name="a" library="liba.so" clsid="{E16B816C-D1FB}"/></Pipeline>)", "is not a GUID"},
    {"library path", R"(<Pipeline><Filter name="a" library="../evil/liba.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/></Pipeline>)",
     "must be a file name"},
    {"unknown attribute", R"(<Pipeline><Filter name="a" library="liba.so" path="x" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/></Pipeline>)",
     "unknown attribute 'path'"},
    {"bad output", R"(<Pipeline><Filter name="a" library="liba.so" output="pdf" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/></Pipeline>)",
     "output must be"},
    {"twice", R"(<Pipeline><Filter name="a" library="liba.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/><Filter name="a" library="libb.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/></Pipeline>)",
     "given twice"},
    {"device not last",
     R"(<Pipeline><Filter name="a" library="liba.so" output="device" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/><Filter name="b" library="libb.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/></Pipeline>)",
     "must be the last"},
    {"stray text", "<Pipeline>filters</Pipeline>", "unexpected text"},
};

TEST_P(PipelineConfigRefusalTest, IsRefusedWithAReason)
{
    PipelineConfig config;
    config.filters.push_back(FilterEntry{"kept", "libkept.so", {}, FilterOutput::kXps});
    std::string error;
    EXPECT_FALSE(ParsePipelineConfig(GetParam().text, &config, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(std::string::npos, error.find(GetParam().message)) << error;
    EXPECT_EQ(std::string::npos, error.find('\n')) << "one line: " << error;
    ASSERT_EQ(1u, config.filters.size()) << "a refused text leaves the configuration as it was";
}

INSTANTIATE_TEST_SUITE_P(Cases, PipelineConfigRefusalTest, testing::ValuesIn(kBadConfigs),
                         [](const auto& testCase) {
                             std::string name = testCase.param.what;
                             for (char& c : name)
                                 if (c == ' ')
                                     c = '_';
                             return name;
                         });

TEST(PipelineConfigTest, AMissingFileIsNamed)
{
    PipelineConfig config;
    std::string error;
    EXPECT_FALSE(ReadPipelineConfig("/nonexistent/pipeline.xml", &config, &error));
    EXPECT_NE(std::string::npos, error.find("/nonexistent/pipeline.xml")) << error;
}

} // namespace
