// The reference converter as a vendor's converter would be driven: real libraries from the build's
// driver directory, output through the record stream.
#include <gtest/gtest.h>

#include <cstring>

#include "rip/XpsFeedLibrary.h"
#include "tests/rip/ConverterHarness.h"

namespace {

// Checks every delivery against the record rules while it reassembles them: a header is never cut,
// so wherever a header is due the call holds at least eight more bytes.
struct StrictReceiver {
    std::uint32_t remaining = 0;
    std::string payload;
    int calls = 0;
    int callsWithTwoHeaders = 0;
    int cutPayloads = 0;
    bool headerCut = false;

    static std::int32_t Write(const void* buffer, std::uint32_t count, void* context)
    {
        auto* self = static_cast<StrictReceiver*>(context);
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        ++self->calls;
        int headers = 0;
        std::uint32_t i = 0;
        while (i < count) {
            if (self->remaining == 0) {
                if (count - i < kConverterRecordHeaderSize) {
                    self->headerCut = true;
                    return S_OK;
                }
                EXPECT_EQ(bytes[i], ConverterRecord_DeviceData);
                self->remaining = ReadConverterRecordHeader(bytes + i).length;
                i += kConverterRecordHeaderSize;
                ++headers;
                continue;
            }
            const std::uint32_t k = std::min(self->remaining, count - i);
            self->payload.append(bytes + i, bytes + i + k);
            self->remaining -= k;
            i += k;
        }
        if (self->remaining != 0)
            ++self->cutPayloads;
        if (headers >= 2)
            ++self->callsWithTwoHeaders;
        return S_OK;
    }
};

std::int32_t Poll(std::uint8_t* stop)
{
    *stop = 0;
    return 1;
}

void CopyUtf16(char16_t* target, std::u16string_view text)
{
    std::memcpy(target, text.data(), text.size() * sizeof(char16_t));
}

TEST(ReferenceConverter, LogsTheJobRecordAndTheDevMode)
{
    PrnCoreLibrary prnCore;
    ASSERT_EQ(prnCore.module.Result(), S_OK) << prnCore.module.Failure();
    StrictReceiver receiver;
    ConverterJobInfo job{};
    job.size = kConverterJobInfoSize;
    CopyUtf16(job.printerName, u"Büro \"2\"");
    CopyUtf16(job.documentName, u"Q3 \u20AC report");
    job.jobId = 42;
    job.one = 1;
    void* control = prnCore.PrnCtrlOpen("driverout", 0, "/opt/drv/enc.so", StrictReceiver::Write, &receiver, &job, Poll);
    ASSERT_NE(control, nullptr);

    DEVMODE devMode{};
    devMode.dmSize = sizeof(DEVMODE);
    devMode.dmPaperSize = 11;
    devMode.dmPaperWidth = 1480;
    devMode.dmPaperLength = 2100;
    devMode.dmOrientation = DMORIENT_LANDSCAPE;
    devMode.dmDuplex = DMDUP_VERTICAL;
    devMode.dmYResolution = 600;
    EXPECT_EQ(prnCore.DevModeSet(&devMode, sizeof devMode, control), 1);
    EXPECT_EQ(prnCore.PrnCtrlClose(control), 1);

    const auto calls = ParseCallLog(receiver.payload);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Call(), "PrnCtrlOpen");
    EXPECT_EQ(calls[0].Get("output"), "driverout");
    EXPECT_EQ(calls[0].Get("encoder"), "/opt/drv/enc.so");
    EXPECT_EQ(calls[0].Get("printer"), "Büro \"2\"");
    EXPECT_EQ(calls[0].Get("document"), "Q3 € report");
    EXPECT_EQ(calls[0].Number("jobId"), 42);
    EXPECT_EQ(calls[0].Number("poll"), 0);
    EXPECT_EQ(calls[1].Call(), "DevModeSet");
    EXPECT_EQ(calls[1].Number("size"), 220);
    EXPECT_EQ(calls[1].Number("paperSize"), 11);
    EXPECT_EQ(calls[1].Number("paperWidth"), 1480);
    EXPECT_EQ(calls[1].Number("paperLength"), 2100);
    EXPECT_EQ(calls[1].Number("orientation"), 2);
    EXPECT_EQ(calls[1].Number("duplex"), 2);
    EXPECT_EQ(calls[1].Number("yResolution"), 600);
    EXPECT_EQ(calls[2].Call(), "PrnCtrlClose");
    EXPECT_FALSE(receiver.headerCut);
}

TEST(ReferenceConverter, RefusesAJobRecordOfAnotherSize)
{
    PrnCoreLibrary prnCore;
    ASSERT_EQ(prnCore.module.Result(), S_OK) << prnCore.module.Failure();
    StrictReceiver receiver;
    ConverterJobInfo job{};
    job.size = 1544;
    EXPECT_EQ(prnCore.PrnCtrlOpen("driverout", 0, "", StrictReceiver::Write, &receiver, &job, Poll), nullptr);
    EXPECT_EQ(receiver.calls, 0);
}

TEST(ReferenceConverter, MarkupTextIsLatinOneAndUnicodeStringIsUtf16)
{
    ConverterHarness harness;
    XpsFeedLibrary xpsFeed;
    ASSERT_EQ(xpsFeed.module.Result(), S_OK) << xpsFeed.module.Failure();
    EXPECT_EQ(xpsFeed.XPSStartElem("Caf\xE9", harness.feed), 1);
    EXPECT_EQ(xpsFeed.XPSReadAtt("Name", "a\"b\\c\t\xFF", harness.feed), 1);
    EXPECT_EQ(xpsFeed.XPSReadAtt("UnicodeString", u"\u4E2D\U0001F600!", harness.feed), 1);
    EXPECT_EQ(xpsFeed.XPSEndElem("Caf\xE9", harness.feed), 1);
    EXPECT_EQ(xpsFeed.XPSStartElem("Path", nullptr), 0);

    EXPECT_EQ(MarkupCalls(harness.Calls()),
              (std::vector<std::string>{"XPSStartElem Café", "XPSReadAtt Name=a\"b\\c\tÿ",
                                        "XPSReadAtt UnicodeString=中😀!", "XPSEndElem Café"}));
    EXPECT_NE(harness.log.find(R"("value":"a\"b\\c\u0009ÿ")"), std::string::npos);
}

TEST(ReferenceConverter, OutputIsCutAtVaryingPointsButNeverInAHeader)
{
    PrnCoreLibrary prnCore;
    XpsFeedLibrary xpsFeed;
    ASSERT_EQ(xpsFeed.module.Result(), S_OK) << xpsFeed.module.Failure();
    StrictReceiver receiver;
    ConverterJobInfo job{};
    job.size = kConverterJobInfoSize;
    void* control = prnCore.PrnCtrlOpen("driverout", 0, "", StrictReceiver::Write, &receiver, &job, Poll);
    void* feed = prnCore.GetConvCntFromSPDLCnt(prnCore.PrnCtrlXPS2SPDLOpen(Poll, control));
    ASSERT_NE(feed, nullptr);
    for (int i = 0; i < 200; ++i) {
        const std::string name = "Element" + std::to_string(i);
        xpsFeed.XPSStartElem(name.c_str(), feed);
        xpsFeed.XPSEndCurElem(feed);
    }
    prnCore.PrnCtrlClose(control);

    EXPECT_FALSE(receiver.headerCut);
    EXPECT_EQ(receiver.remaining, 0u);
    // Many more calls than lines, some payloads cut, some calls carrying two records.
    EXPECT_GT(receiver.calls, 2 * 400);
    EXPECT_GT(receiver.cutPayloads, 100);
    EXPECT_GT(receiver.callsWithTwoHeaders, 10);
    const auto calls = ParseCallLog(receiver.payload);
    ASSERT_EQ(calls.size(), 404u);
    EXPECT_EQ(calls[203].Brief(), "XPSStartElem Element100");
}

} // namespace
