// The link between two filters: order, end of parts, the bound and cancellation.
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/runner/PartQueue.h"
#include "host/runner/QueueConsumer.h"
#include "host/runner/QueueProvider.h"
#include "tests/support/TestParts.h"

namespace {

ComPtr<IFixedPage> Page(int number)
{
    return ComPtr<IFixedPage>(MakeTestObject<CTestFixedPage>("/Pages/" + std::to_string(number) + ".fpage", "").Get());
}

std::string NameOf(IUnknown* part)
{
    ComPtr<IPartBase> base;
    std::string uri;
    EXPECT_EQ(S_OK, QueryTo(part, &base));
    base->GetUri(&uri);
    return uri;
}

TEST(PartQueueTest, PartsArriveInOrderAndTheEndFollowsTheLast)
{
    auto queue = std::make_shared<CPartQueue>(4);
    const auto consumer = CQueueConsumer::Create(queue);
    const auto provider = CQueueProvider::Create(queue);
    const auto sequence = MakeTestObject<CTestFixedDocumentSequence>("/FixedDocumentSequence.fdseq");
    const auto document = MakeTestObject<CTestFixedDocument>("/Documents/1/FixedDocument.fdoc");
    ASSERT_EQ(S_OK, consumer->SendFixedDocumentSequence(sequence.Get()));
    ASSERT_EQ(S_OK, consumer->SendFixedDocument(document.Get()));
    ASSERT_EQ(S_OK, consumer->SendFixedPage(Page(1).Get()));
    ASSERT_EQ(S_OK, consumer->CloseSender());

    std::vector<IUnknown*> expected = {sequence.Get(), document.Get()};
    for (IUnknown* want : expected) {
        ComPtr<IUnknown> part;
        ASSERT_EQ(S_OK, provider->GetXpsPart(part.Put()));
        EXPECT_EQ(want, part.Get());
    }
    ComPtr<IUnknown> page;
    ASSERT_EQ(S_OK, provider->GetXpsPart(page.Put()));
    EXPECT_EQ("/Pages/1.fpage", NameOf(page.Get()));
    for (int i = 0; i < 2; ++i) {
        ComPtr<IUnknown> end;
        EXPECT_EQ(S_OK, provider->GetXpsPart(end.Put()));
        EXPECT_FALSE(end);
    }
    EXPECT_EQ(E_FAIL, consumer->SendFixedPage(Page(2).Get())) << "nothing is accepted after the end";
    EXPECT_EQ(E_FAIL, consumer->CloseSender());
    EXPECT_EQ(E_POINTER, consumer->SendFixedPage(nullptr));
}

TEST(PartQueueTest, ManyPartsThroughASmallQueueKeepTheirOrder)
{
    auto queue = std::make_shared<CPartQueue>(3);
    constexpr int kPages = 2000;
    std::thread sender([queue] {
        for (int i = 0; i < kPages; ++i)
            ASSERT_EQ(S_OK, queue->Push(Page(i).Get()));
        ASSERT_EQ(S_OK, queue->Close());
    });
    int received = 0;
    for (;;) {
        ComPtr<IUnknown> part;
        ASSERT_EQ(S_OK, queue->Pop(part.Put()));
        if (!part)
            break;
        EXPECT_EQ("/Pages/" + std::to_string(received) + ".fpage", NameOf(part.Get()));
        ++received;
    }
    sender.join();
    EXPECT_EQ(kPages, received);
}

// A sender at a full queue never gets through on its own: only Abort lets it go, with the
// cancellation result. Whichever runs first, Push cannot succeed.
TEST(PartQueueTest, AFullQueueHoldsTheSenderUntilAbort)
{
    auto queue = std::make_shared<CPartQueue>(2);
    ASSERT_EQ(S_OK, queue->Push(Page(1).Get()));
    ASSERT_EQ(S_OK, queue->Push(Page(2).Get()));
    HRESULT pushed = S_OK;
    std::thread sender([&] { pushed = queue->Push(Page(3).Get()); });
    queue->Abort();
    sender.join();
    EXPECT_EQ(kQueueCancelled, pushed);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED), kQueueCancelled);
}

TEST(PartQueueTest, AFullQueueLetsTheSenderOnOnceAPartIsTaken)
{
    auto queue = std::make_shared<CPartQueue>(1);
    ASSERT_EQ(S_OK, queue->Push(Page(1).Get()));
    HRESULT pushed = E_FAIL;
    std::thread sender([&] { pushed = queue->Push(Page(2).Get()); });
    ComPtr<IUnknown> first, second;
    ASSERT_EQ(S_OK, queue->Pop(first.Put()));
    ASSERT_EQ(S_OK, queue->Pop(second.Put()));
    sender.join();
    EXPECT_EQ(S_OK, pushed);
    EXPECT_EQ("/Pages/1.fpage", NameOf(first.Get()));
    EXPECT_EQ("/Pages/2.fpage", NameOf(second.Get()));
}

TEST(PartQueueTest, AbortWakesAWaitingReceiverAndDropsQueuedParts)
{
    auto queue = std::make_shared<CPartQueue>(4);
    HRESULT popped = S_OK;
    ComPtr<IUnknown> part;
    std::thread receiver([&] { popped = queue->Pop(part.Put()); });
    queue->Abort();
    receiver.join();
    EXPECT_EQ(kQueueCancelled, popped);
    EXPECT_FALSE(part);

    // Queued parts are released by Abort, not kept until the queue goes.
    auto second = std::make_shared<CPartQueue>(4);
    const auto page = Page(7);
    ASSERT_EQ(S_OK, second->Push(page.Get()));
    second->Abort();
    EXPECT_EQ(1u, page->AddRef() - 1);
    page->Release();
    ComPtr<IUnknown> after;
    EXPECT_EQ(kQueueCancelled, second->Pop(after.Put()));
    EXPECT_EQ(kQueueCancelled, second->Push(page.Get()));
    EXPECT_EQ(kQueueCancelled, second->Close());
}

TEST(PartQueueTest, NewPartsComeFromThePartFactory)
{
    const auto consumer = CQueueConsumer::Create(std::make_shared<CPartQueue>(2));
    ComPtr<IFixedPage> page;
    ComPtr<IPrintWriteStream> stream;
    ASSERT_EQ(S_OK, consumer->GetNewEmptyPart("/Documents/1/Pages/9.fpage", IFixedPage::kIid, page.PutVoid(), stream.Put()));
    ASSERT_TRUE(page && stream);
    std::string uri;
    page->GetUri(&uri);
    EXPECT_EQ("/Documents/1/Pages/9.fpage", uri);
    stream->Close();
    ComPtr<IUnknown> unused;
    ComPtr<IPrintWriteStream> unusedStream;
    EXPECT_EQ(E_INVALIDARG, consumer->GetNewEmptyPart("../escape.fpage", IFixedPage::kIid, unused.PutVoid(), unusedStream.Put()));
}

} // namespace
