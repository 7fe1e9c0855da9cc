#include <cstdint>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Guid.h"
#include "platform/com/Stream.h"
#include "platform/com/Variant.h"

namespace {

TEST(Hresult, Win32ErrorsAndFrameworkResultsHaveThePlatformValues)
{
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), MakeHresult(0x80070490));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED), MakeHresult(0x8007003F));
    EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
    EXPECT_EQ(ResultNotFound, MakeHresult(0x80070490));
    EXPECT_EQ(ResultNotAvailable, MakeHresult(0x8000000A));
    EXPECT_TRUE(SUCCEEDED(ResultDefaulted));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(FAILED(CLASS_E_CLASSNOTAVAILABLE));
    EXPECT_EQ(FormatHresult(ResultNotFound), "0x80070490 (not found)");
    EXPECT_EQ(FormatHresult(MakeHresult(0x80001234)), "0x80001234");
}

TEST(Guid, ParsesFormatsAndCompares)
{
    constexpr GUID layout = GuidLiteral("{565E8DF1-288C-4EAE-BAAC-6DAE5096C63D}");
    EXPECT_EQ(layout.Data1, 0x565E8DF1u);
    EXPECT_EQ(layout.Data2, 0x288Cu);
    EXPECT_EQ(layout.Data4[0], 0xBAu);
    EXPECT_EQ(layout.Data4[7], 0x3Du);
    EXPECT_EQ(FormatGuid(layout), "{565E8DF1-288C-4EAE-BAAC-6DAE5096C63D}");
    EXPECT_EQ(ParseGuid("565e8df1-288c-4eae-baac-6dae5096c63d"), layout);
    EXPECT_NE(layout, GuidLiteral("{565E8DF1-288C-4EAE-BAAC-6DAE5096C63E}"));
    EXPECT_LT(GuidLiteral("{00000000-0000-0000-0000-000000000001}"), layout);

    for (const char* bad : {"", "{565E8DF1-288C-4EAE-BAAC-6DAE5096C63D", "565E8DF1-288C-4EAE-BAAC-6DAE5096C63DX",
                            "{565E8DF1-288C-4EAE-BAAC_6DAE5096C63D}", "{565E8DF1-288C-4EAE-BAAC-6DAE5096C6GD}"})
        EXPECT_FALSE(ParseGuid(bad).has_value()) << bad;
}

TEST(Bstr, KeepsLengthAndConvertsBothWays)
{
    const std::int64_t before = SysLiveStringCount();
    const std::u16string withNul = u"a\0b";
    BSTR text = SysAllocStringLen(withNul.data(), 3);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[3], u'\0');
    EXPECT_EQ(SysLiveStringCount(), before + 1);
    SysFreeString(text);
    SysFreeString(nullptr);
    EXPECT_EQ(SysLiveStringCount(), before);

    BSTR empty = SysAllocString(nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);

    // A supplementary-plane character becomes a surrogate pair and four UTF-8 bytes again.
    const std::string utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToUtf16(utf8), u"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(utf8)), utf8);
    CBstr owned(utf8);
    EXPECT_EQ(owned.Length(), 5u);
    EXPECT_EQ(owned.Utf8(), utf8);
}

TEST(Bstr, MalformedTextBecomesReplacementCharacters)
{
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const std::vector<Case> cases = {
        {"\xC3", u"\uFFFD"},                 // cut short
        {"\xC0\x80", u"\uFFFD\uFFFD"},       // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate written as UTF-8
        {"\xFF" "a", u"\uFFFDa"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

class CCounted final : public CComBase<IStream> {
public:
    HRESULT Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT Seek(std::int64_t, std::uint32_t, std::uint64_t*) override { return E_NOTIMPL; }
    HRESULT SetSize(std::uint64_t) override { return E_NOTIMPL; }
    HRESULT CopyTo(IStream*, std::uint64_t, std::uint64_t*, std::uint64_t*) override { return E_NOTIMPL; }
    HRESULT Commit(std::uint32_t) override { return E_NOTIMPL; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(std::uint64_t, std::uint64_t, std::uint32_t) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(std::uint64_t, std::uint64_t, std::uint32_t) override { return E_NOTIMPL; }
    HRESULT Stat(STATSTG*, std::uint32_t) override { return E_NOTIMPL; }
    HRESULT Clone(IStream**) override { return E_NOTIMPL; }
};

TEST(ComBase, AnswersItsInterfaceAndCountsFromManyThreads)
{
    ComPtr<CCounted> object;
    object.Attach(new CCounted);
    ComPtr<IStream> asStream;
    EXPECT_EQ(object.As(&asStream), S_OK);
    ComPtr<ISequentialStream> asSequential;
    // Only IUnknown and the one interface given to the base are answered.
    EXPECT_EQ(object.As(&asSequential), E_NOINTERFACE);
    EXPECT_EQ(asSequential.Get(), nullptr);
    EXPECT_EQ(object->QueryInterface(IUnknown::kIid, nullptr), E_POINTER);

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                object->AddRef();
                object->Release();
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    asStream.Reset();
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
}

TEST(Variant, CopiesOwnTheirStringAndReference)
{
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(stream.Put()), S_OK);
    {
        CVariant source;
        source.vt = VT_UNKNOWN;
        source.punkVal = stream.Get();
        stream->AddRef();
        CVariant copy;
        ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
        EXPECT_EQ(copy.punkVal, stream.Get());
        EXPECT_EQ(stream->AddRef(), 4u);  // ours, the source's, the copy's, this one
        stream->Release();

        CVariant text;
        text.vt = VT_BSTR;
        text.bstrVal = BstrFromUtf8("PrinterName");
        ASSERT_EQ(VariantCopy(&copy, &text), S_OK);  // the interface held before is released
        EXPECT_NE(copy.bstrVal, text.bstrVal);
        EXPECT_EQ(BstrToUtf8(copy.bstrVal), "PrinterName");
    }
    EXPECT_EQ(stream->AddRef(), 2u);
    stream->Release();
}

TEST(MemoryStream, ReadsWritesSeeksAndReportsItsSize)
{
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(stream.Put()), S_OK);
    ULONG done = 0;
    ASSERT_EQ(stream->Write("hello world", 11, &done), S_OK);
    EXPECT_EQ(done, 11u);
    std::uint64_t position = 0;
    ASSERT_EQ(stream->Seek(-5, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position, 6u);
    char buffer[16] = {};
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &done), S_OK);
    EXPECT_EQ(std::string(buffer, done), "world");
    // At the end a read succeeds with nothing.
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &done), S_OK);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(stream->Seek(-1, STREAM_SEEK_SET, nullptr), E_INVALIDARG);
    // A distance past the largest position is refused, and the position stays where it was.
    EXPECT_EQ(stream->Seek(INT64_MAX, STREAM_SEEK_END, nullptr), E_INVALIDARG);
    ASSERT_EQ(stream->Seek(0, STREAM_SEEK_CUR, &position), S_OK);
    EXPECT_EQ(position, 11u);
    STATSTG stat;
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize, 11u);
    EXPECT_EQ(stat.type, STGTY_STREAM);
}

} // namespace
