// The part loop: dispatch order and counters, forwarding, shutdown from another thread, failures
// and the exactly-once FilterFinished.
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "framework/XDException.h"
#include "tests/framework/RecordingFilter.h"
#include "tests/support/TestPipeline.h"

namespace {

template <class Row>
std::string NameOfRow(const testing::TestParamInfo<Row>& row)
{
    return row.param.name;
}

// A job: package, sequence, one document, three pages.
std::vector<ComPtr<IUnknown>> ThreePageJob()
{
    return {AsPart(MakeTestObject<CTestXpsDocument>().Get()),
            AsPart(MakeTestObject<CTestFixedDocumentSequence>("/FixedDocumentSequence.fdseq").Get()),
            AsPart(MakeTestObject<CTestFixedDocument>("/Documents/1/FixedDocument.fdoc").Get()),
            AsPart(MakeTestObject<CTestFixedPage>("/Documents/1/Pages/1.fpage").Get()),
            AsPart(MakeTestObject<CTestFixedPage>("/Documents/1/Pages/2.fpage").Get()),
            AsPart(MakeTestObject<CTestFixedPage>("/Documents/1/Pages/3.fpage").Get())};
}

const std::vector<SentKind> kThreePagesSent = {SentKind::XpsDocument, SentKind::Sequence, SentKind::Document,
                                               SentKind::Page,        SentKind::Page,     SentKind::Page,
                                               SentKind::Close};

TEST(PartLoop, HooksRunInJobOrderWithTheCounters)
{
    TestPipeline pipeline(ThreePageJob());
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), S_OK);

    const std::vector<HookCall> expected = {{"package", 0, 0, 0}, {"sequence", 0, 0, 0}, {"document", 0, 1, 0},
                                            {"page", 1, 1, 1},    {"page", 2, 1, 2},     {"page", 3, 1, 3},
                                            {"end", 3, 1, 3}};
    EXPECT_EQ(filter->calls, expected);
    EXPECT_EQ(pipeline.consumer->Kinds(), kThreePagesSent);
    EXPECT_EQ(pipeline.consumer->records[5].uri, "/Documents/1/Pages/3.fpage");
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
    EXPECT_TRUE(pipeline.managerControl->ShutdownRequests().empty());
}

TEST(PartLoop, AResourceYieldedByItselfIsForwardedAsUnknown)
{
    auto font = MakeTestObject<CTestFontPart>("/Resources/font.odttf", "font bytes");
    TestPipeline pipeline({AsPart(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()),
                           AsPart(MakeTestObject<CTestFixedDocument>("/doc.fdoc").Get()), AsPart(font.Get()),
                           AsPart(MakeTestObject<CTestFixedPage>("/page.fpage").Get())});
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), S_OK);

    EXPECT_EQ(pipeline.consumer->Kinds(), std::vector<SentKind>({SentKind::Sequence, SentKind::Document, SentKind::Unknown,
                                                                  SentKind::Page, SentKind::Close}));
    EXPECT_EQ(pipeline.consumer->records[2].part.Get(), static_cast<IUnknown*>(font.Get()));
}

TEST(PartLoop, WithoutGraphicsEveryPartPassesStraightThrough)
{
    TestPipeline pipeline(ThreePageJob());
    auto filter = MakeTestObject<CRecordingFilter>();
    filter->StopGraphics();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), S_OK);

    // Only the end of the job reaches a hook; the counters still followed the parts.
    EXPECT_EQ(filter->calls, std::vector<HookCall>({{"end", 3, 1, 3}}));
    EXPECT_EQ(pipeline.consumer->Kinds(), kThreePagesSent);
}

struct ShutdownRow {
    const char* name;
    HRESULT providerAfterShutdown;  // what the provider answers once the filter was shut down
    bool endOfPartsRuns;            // only a loop that ended in success runs OnEndOfParts
};

class PartLoopShutdownTest : public testing::TestWithParam<ShutdownRow> {};

TEST_P(PartLoopShutdownTest, StopsAtTheNextPartAndReportsNoError)
{
    TestPipeline pipeline(ThreePageJob());
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);
    // The provider holds the second page back until the pipeline heard that the filter finished.
    std::promise<void> secondPageAsked;
    std::future<void> asked = secondPageAsked.get_future();
    pipeline.provider->beforePart = [&](std::size_t index) -> HRESULT {
        if (index != 4)
            return S_OK;
        secondPageAsked.set_value();
        if (!pipeline.managerControl->WaitForFinished())
            return E_FAIL;
        return GetParam().providerAfterShutdown;
    };

    HRESULT result = S_FALSE;
    std::thread job([&] { result = filter->StartOperation(); });
    asked.wait();
    EXPECT_EQ(filter->ShutdownOperation(), S_OK);
    job.join();

    EXPECT_EQ(result, S_OK);
    EXPECT_EQ(pipeline.consumer->Kinds(), std::vector<SentKind>({SentKind::XpsDocument, SentKind::Sequence,
                                                                  SentKind::Document, SentKind::Page, SentKind::Close}));
    ASSERT_FALSE(filter->calls.empty());
    EXPECT_EQ(filter->calls.back().hook == "end", GetParam().endOfPartsRuns);
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
    EXPECT_TRUE(pipeline.managerControl->ShutdownRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(Providers, PartLoopShutdownTest,
                         testing::Values(ShutdownRow{"GivesThePart", S_OK, true}, ShutdownRow{"Fails", E_ACCESSDENIED, false}),
                         NameOfRow<ShutdownRow>);

TEST(PartLoop, WithoutTheUsersTicketTheJobEndsBeforeAnyPart)
{
    TestPipeline pipeline(ThreePageJob());
    pipeline.propertyBag->DeleteProperty("PerUserPrintTicket");
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), ResultNotFound);

    EXPECT_TRUE(filter->calls.empty());
    EXPECT_TRUE(pipeline.consumer->records.empty()) << "no part and no CloseSender";
    EXPECT_EQ(pipeline.managerControl->ShutdownRequests(), std::vector<HRESULT>({ResultNotFound}));
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
}

struct HookFailureRow {
    const char* name;
    std::function<HRESULT(int)> pageHook;
    HRESULT expected;
};

class PartLoopHookFailureTest : public testing::TestWithParam<HookFailureRow> {};

TEST_P(PartLoopHookFailureTest, EndsTheJobClosesTheSenderAndAsksForShutdown)
{
    TestPipeline pipeline(ThreePageJob());
    auto filter = MakeTestObject<CRecordingFilter>();
    filter->pageHook = GetParam().pageHook;
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), GetParam().expected);

    EXPECT_EQ(pipeline.consumer->Kinds(), std::vector<SentKind>({SentKind::XpsDocument, SentKind::Sequence,
                                                                  SentKind::Document, SentKind::Page, SentKind::Close}));
    EXPECT_NE(filter->calls.back().hook, "end");
    EXPECT_EQ(pipeline.managerControl->ShutdownRequests(), std::vector<HRESULT>({GetParam().expected}));
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Hooks, PartLoopHookFailureTest,
    testing::Values(HookFailureRow{"Fails", [](int page) { return page == 2 ? E_ACCESSDENIED : S_OK; }, E_ACCESSDENIED},
                    HookFailureRow{"Raises",
                                   [](int page) -> HRESULT {
                                       if (page == 2)
                                           throw CXDException(E_INVALIDARG);
                                       return S_OK;
                                   },
                                   E_INVALIDARG}),
    NameOfRow<HookFailureRow>);

TEST(PartLoop, AFailedCloseIsTheJobsResult)
{
    TestPipeline pipeline(ThreePageJob());
    pipeline.consumer->closeResult = E_OUTOFMEMORY;
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), E_OUTOFMEMORY);
    EXPECT_EQ(pipeline.managerControl->ShutdownRequests(), std::vector<HRESULT>({E_OUTOFMEMORY}));
}

TEST(PartLoop, FilterFinishedIsSentOnceOverEveryPath)
{
    TestPipeline pipeline(ThreePageJob());
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);
    ASSERT_EQ(filter->StartOperation(), S_OK);
    // After the job, and twice.
    EXPECT_EQ(filter->ShutdownOperation(), S_OK);
    EXPECT_EQ(filter->ShutdownOperation(), S_OK);
    const std::size_t sent = pipeline.consumer->records.size();
    filter = nullptr;
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
    EXPECT_EQ(pipeline.consumer->records.size(), sent);
}

TEST(PartLoop, ShutdownTwiceBeforeTheJobSendsOnce)
{
    TestPipeline pipeline(ThreePageJob());
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);
    EXPECT_EQ(filter->ShutdownOperation(), S_OK);
    EXPECT_EQ(filter->ShutdownOperation(), S_OK);
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
    // The job then stops at its first part.
    EXPECT_EQ(filter->StartOperation(), S_OK);
    EXPECT_EQ(pipeline.consumer->Kinds(), std::vector<SentKind>({SentKind::Close}));
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
}

TEST(PartLoop, AReleasedFilterThatNeverRanTellsThePipelineItFinished)
{
    TestPipeline pipeline;
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);
    filter = nullptr;
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
}

TEST(PartLoop, AWriterThatTakesNoPartsEndsTheJob)
{
    TestPipeline pipeline(ThreePageJob());
    // A raw write stream as the writer: the last filter of a printing chain gets one, not a consumer.
    pipeline.communicator->writer = static_cast<IUnknown*>(MakeTestObject<CTestWriteStream>(std::make_shared<TestContent>()).Get());
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    EXPECT_EQ(filter->StartOperation(), E_FAIL);
    EXPECT_TRUE(pipeline.consumer->records.empty());
    EXPECT_FALSE(pipeline.managerControl->ShutdownRequests().empty());
    EXPECT_EQ(pipeline.managerControl->ShutdownRequests().front(), E_FAIL);
    EXPECT_EQ(pipeline.managerControl->FinishedCount(), 1);
}

} // namespace
