// InitializeFilter: the pipeline's objects and the properties the framework reads.
#include <gtest/gtest.h>

#include "platform/printticket/PrintTicketProvider.h"
#include "tests/framework/RecordingFilter.h"
#include "tests/support/TestPipeline.h"

namespace {

// Answers IPrintClassObjectFactory; it makes nothing.
class CTestClassFactory final : public CComBase<IPrintClassObjectFactory> {
public:
    HRESULT GetPrintClassObject(const char*, REFIID, void** object) override
    {
        if (object)
            *object = nullptr;
        return E_NOTIMPL;
    }
};

TEST(FilterInitialize, ReadsPrinterJobAndClassFactory)
{
    TestPipeline pipeline;
    pipeline.propertyBag->SetUnknown("PrintClassFactory", MakeTestObject<CTestClassFactory>().Get());
    auto filter = MakeTestObject<CRecordingFilter>();

    EXPECT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->PrinterName(), kDefaultPrinterName);
    EXPECT_EQ(filter->JobId(), static_cast<std::uint32_t>(kTestJobId));
    EXPECT_TRUE(filter->HasClassFactory());
    EXPECT_EQ(filter->PrivateNamespace(), kPrivateKeywordNamespace);
}

TEST(FilterInitialize, WithoutAPrinterNameTheResultIsTheBagsAndTheRestIsRead)
{
    TestPipeline pipeline;
    pipeline.propertyBag->DeleteProperty("PrinterName");
    auto filter = MakeTestObject<CRecordingFilter>();

    EXPECT_EQ(pipeline.Initialize(filter.Get()), ResultNotFound);

    EXPECT_TRUE(filter->PrinterName().empty());
    EXPECT_EQ(filter->JobId(), static_cast<std::uint32_t>(kTestJobId));
    EXPECT_FALSE(filter->HasClassFactory());
}

TEST(FilterInitialize, ANullObjectIsRefusedAndReportedThroughTheHeldControl)
{
    TestPipeline pipeline;
    auto filter = MakeTestObject<CRecordingFilter>();
    // Nothing held yet: nobody to tell.
    EXPECT_EQ(filter->InitializeFilter(nullptr, pipeline.propertyBag.Get(), pipeline.managerControl.Get()), E_POINTER);
    EXPECT_TRUE(pipeline.managerControl->ShutdownRequests().empty());

    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);
    EXPECT_EQ(filter->InitializeFilter(pipeline.communicator.Get(), nullptr, pipeline.managerControl.Get()), E_POINTER);
    EXPECT_EQ(pipeline.managerControl->ShutdownRequests(), std::vector<HRESULT>({E_POINTER}));
}

TEST(FilterInitialize, StartingWithoutInitialisationEndsWithoutObjects)
{
    auto filter = MakeTestObject<CRecordingFilter>();
    EXPECT_EQ(filter->StartOperation(), ResultNotAvailable);
    EXPECT_TRUE(filter->calls.empty());
}

} // namespace
