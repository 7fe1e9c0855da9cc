// The stream adapters that hand pipeline streams to the XML loader.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "framework/ReadStreamAdapter.h"
#include "framework/SequentialReadAdapter.h"
#include "platform/com/ComPtr.h"
#include "tests/support/TestObject.h"
#include "tests/support/TestStreams.h"

namespace {

ComPtr<IStream> AdapterOver(const std::string& text)
{
    ComPtr<IStream> adapter;
    EXPECT_EQ(CReadStreamAdapter::Create(CTestReadStream::Make(text).Get(), adapter.Put()), S_OK);
    return adapter;
}

std::string ReadText(ISequentialStream* stream, ULONG size)
{
    std::string text(size, '\0');
    ULONG read = 0;
    EXPECT_EQ(stream->Read(text.data(), size, &read), S_OK);
    text.resize(read);
    return text;
}

TEST(ReadStreamAdapter, ReadsAndSeeksTheSource)
{
    ComPtr<IStream> adapter = AdapterOver("hello world");
    EXPECT_EQ(ReadText(adapter.Get(), 5), "hello");
    std::uint64_t position = 0;
    EXPECT_EQ(adapter->Seek(-5, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position, 6u);
    EXPECT_EQ(ReadText(adapter.Get(), 100), "world");
    EXPECT_EQ(ReadText(adapter.Get(), 100), "");
}

TEST(ReadStreamAdapter, RefusesMissingBuffersAndReadsNothingForZeroBytes)
{
    ComPtr<IStream> adapter = AdapterOver("abc");
    char buffer[4];
    ULONG read = 7;
    EXPECT_EQ(adapter->Read(nullptr, 3, &read), E_POINTER);
    EXPECT_EQ(adapter->Read(buffer, 3, nullptr), E_POINTER);
    EXPECT_EQ(adapter->Read(buffer, 0, &read), S_OK);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(ReadText(adapter.Get(), 3), "abc");
}

TEST(ReadStreamAdapter, StatGivesTheSizeWithoutMovingTheStream)
{
    ComPtr<IStream> adapter = AdapterOver("hello world");
    EXPECT_EQ(ReadText(adapter.Get(), 6), "hello ");
    STATSTG stat;
    ASSERT_EQ(adapter->Stat(&stat, STATFLAG_DEFAULT), S_OK);
    EXPECT_EQ(std::u16string(stat.pwcsName, SysStringLen(stat.pwcsName)), u"PrintReadStream");
    SysFreeString(stat.pwcsName);
    EXPECT_EQ(stat.type, STGTY_STREAM);
    EXPECT_EQ(stat.cbSize, 11u);
    EXPECT_EQ(stat.grfMode, 0x20u);
    EXPECT_EQ(stat.grfLocksSupported, 1u);
    EXPECT_EQ(stat.clsid, CLSID{});
    EXPECT_EQ(ReadText(adapter.Get(), 100), "world");

    ASSERT_EQ(adapter->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.pwcsName, nullptr);
    EXPECT_EQ(stat.cbSize, 11u);
}

TEST(ReadStreamAdapter, ReadFailuresOfTheSourceArePassedOn)
{
    ComPtr<CTestReadStream> source = MakeTestObject<CTestReadStream>("0123456789");
    source->failAt = 4;
    source->failure = E_ACCESSDENIED;
    ComPtr<IStream> adapter;
    ASSERT_EQ(CReadStreamAdapter::Create(source.Get(), adapter.Put()), S_OK);
    char buffer[16];
    ULONG read = 0;
    EXPECT_EQ(adapter->Read(buffer, sizeof(buffer), &read), E_ACCESSDENIED);
}

TEST(ReadStreamAdapter, EveryOtherOperationIsNotImplemented)
{
    ComPtr<IStream> adapter = AdapterOver("abc");
    const std::function<HRESULT()> operations[] = {
        [&] { return adapter->Write("x", 1, nullptr); },
        [&] { return adapter->SetSize(1); },
        [&] { return adapter->CopyTo(adapter.Get(), 1, nullptr, nullptr); },
        [&] { return adapter->Commit(0); },
        [&] { return adapter->Revert(); },
        [&] { return adapter->LockRegion(0, 1, 1); },
        [&] { return adapter->UnlockRegion(0, 1, 1); },
        [&] {
            IStream* clone = nullptr;
            return adapter->Clone(&clone);
        },
    };
    for (const auto& operation : operations)
        EXPECT_EQ(operation(), E_NOTIMPL);
}

TEST(ReadStreamAdapter, ANullSourceIsRefused)
{
    ComPtr<IStream> adapter;
    EXPECT_EQ(CReadStreamAdapter::Create(nullptr, adapter.Put()), E_POINTER);
    EXPECT_FALSE(adapter);
    ComPtr<ISequentialStream> sequential;
    EXPECT_EQ(CSequentialReadAdapter::Create(nullptr, sequential.Put()), E_POINTER);
}

TEST(SequentialReadAdapter, ReadsTheSourceAndRefusesWrites)
{
    ComPtr<ISequentialStream> adapter;
    ASSERT_EQ(CSequentialReadAdapter::Create(CTestReadStream::Make("ticket text").Get(), adapter.Put()), S_OK);
    EXPECT_EQ(ReadText(adapter.Get(), 6), "ticket");
    EXPECT_EQ(ReadText(adapter.Get(), 100), " text");
    ULONG written = 0;
    EXPECT_EQ(adapter->Write("x", 1, &written), E_NOTIMPL);
    char buffer[2];
    EXPECT_EQ(adapter->Read(buffer, 2, nullptr), E_POINTER);
}

} // namespace
