// The trace registration of a deliverable: the control callback, the controller and the
// environment that selects deliverables.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "framework/TraceControl.h"

namespace {

constexpr GUID kTestControlGuid = GuidLiteral("{1A2B3C4D-0000-4000-8000-00000000F00D}");

class TraceTest : public testing::Test {
protected:
    void TearDown() override
    {
        TraceUnregister();
        unsetenv("XPSCHAIN_TRACE");
    }
};

TEST_F(TraceTest, ControlCallbackTakesAndClearsTheLoggerSettings)
{
    TraceRegister(kTestControlGuid, "frameworktests");
    ASSERT_EQ(EnableTraceProvider(kTestControlGuid, 3, 0x6), 0u);
    EXPECT_NE(TraceControl().logger.load(), 0u);
    EXPECT_EQ(TraceControl().level.load(), 3);
    EXPECT_EQ(TraceControl().flags.load(), 0x6u);
    EXPECT_TRUE(TraceEnabled(kTraceFlagModule));
    EXPECT_FALSE(TraceEnabled(kTraceFlagError));

    ASSERT_EQ(DisableTraceProvider(kTestControlGuid), 0u);
    EXPECT_EQ(TraceControl().logger.load(), 0u);
    EXPECT_EQ(TraceControl().level.load(), 0);
    EXPECT_EQ(TraceControl().flags.load(), 0u);
}

TEST_F(TraceTest, OtherRequestCodesAreInvalidParameters)
{
    for (const WMIDPREQUESTCODE code : {WMI_GET_ALL_DATA, WMI_SET_SINGLE_ITEM, WMI_ENABLE_COLLECTION, WMI_DISABLE_COLLECTION}) {
        ULONG size = 0;
        EXPECT_EQ(TraceControlCallback(code, &TraceControl(), &size, nullptr), ERROR_INVALID_PARAMETER);
    }
}

struct EnvironmentRow {
    const char* value;
    bool selected;
};

class TraceEnvironmentTest : public TraceTest, public testing::WithParamInterface<EnvironmentRow> {};

TEST_P(TraceEnvironmentTest, SelectsDeliverablesByName)
{
    setenv("XPSCHAIN_TRACE", GetParam().value, 1);
    TraceRegister(kTestControlGuid, "frameworktests");
    testing::internal::CaptureStderr();
    TraceEvent(kTraceFlagParts, "page %d of document %d", 3, 1);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(TraceEnabled(kTraceFlagParts), GetParam().selected);
    EXPECT_EQ(messages.find("[frameworktests") != std::string::npos && messages.find("page 3 of document 1") != std::string::npos,
              GetParam().selected)
        << messages;
}

INSTANTIATE_TEST_SUITE_P(Values, TraceEnvironmentTest,
                         testing::Values(EnvironmentRow{"frameworktests", true}, EnvironmentRow{"all", true},
                                         EnvironmentRow{"layoutfilter, frameworktests", true},
                                         EnvironmentRow{"layoutfilter", false}, EnvironmentRow{"", false},
                                         EnvironmentRow{"frameworktest", false}));

TEST_F(TraceTest, UnregisteredDeliverablesAreUnknownToTheController)
{
    TraceRegister(kTestControlGuid, "frameworktests");
    TraceUnregister();
    EXPECT_EQ(EnableTraceProvider(kTestControlGuid, 5, kTraceAllFlags), ERROR_NOT_FOUND);
    EXPECT_FALSE(TraceEnabled(kTraceFlagError));
}

} // namespace
