#include <gtest/gtest.h>

#include "rip/MarkupFeeder.h"
#include "tests/rip/ConverterHarness.h"
#include "tests/support/TestParts.h"

namespace {

constexpr char kPageUri[] = "/Documents/1/Pages/1.fpage";

using CTestDictionary = CTestPart<IPartResourceDictionary>;

ComPtr<CTestFixedPage> MakePage(const std::string& markup)
{
    return MakeTestObject<CTestFixedPage>(kPageUri, markup);
}

std::string LastMarkupCall(const ConverterHarness& harness)
{
    const auto calls = MarkupCalls(harness.Calls());
    return calls.empty() ? "<none>" : calls.back();
}

PageDeviceRecord A4Device()
{
    return {210000, 297000, 600, 600, 2, 3, 3, 8};
}

// Feeds page through XPSFEED into harness; gives the feed's result.
HRESULT FeedPage(ConverterHarness& harness, CTestFixedPage* page, const std::string& printerName = {},
                 std::uint32_t jobId = 0, std::string* message = nullptr)
{
    ComPtr<CMarkupFeeder> feeder;
    feeder.Attach(new CMarkupFeeder(page, A4Device(), harness.control, harness.feed, true, printerName, jobId));
    return feeder->Feed(page, message);
}

class MarkupFeederTest : public ::testing::Test {};

TEST_F(MarkupFeederTest, PageValuesComeBeforeTheMarkup)
{
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="816" Height="1056"/>)");
    ASSERT_EQ(FeedPage(harness, page.Get()), S_OK);
    const auto calls = harness.Calls();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[3].Call(), "XpsSetConvResAPI");
    EXPECT_EQ(calls[3].Number("page"), 1);
    EXPECT_EQ(calls[3].Number("callbacks"), 3);
    EXPECT_EQ(calls[4].Call(), "XpsSetPageDevice");
    EXPECT_EQ(calls[4].Get("values"),
              "[1,1,210000,297000,0,0,210000,297000,600,600,2,0,4,100,297000,297000,3,3,8]");
    EXPECT_EQ(MarkupCalls(calls), (std::vector<std::string>{"XPSStartElem FixedPage", "XPSReadAtt Height=1056",
                                                            "XPSReadAtt Width=816", "XPSEndCurElem"}));
}

TEST_F(MarkupFeederTest, ElementsAttributesAndEnds)
{
    struct Case {
        const char* name;
        const char* markup;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a Path with three attributes: reverse order, then end of the current element",
         R"(<FixedPage><Path Data="M 0,0 L 10,10" Fill="#FF000000" Opacity="0.5"/></FixedPage>)",
         {"XPSStartElem FixedPage", "XPSStartElem Path", "XPSReadAtt Opacity=0.5", "XPSReadAtt Fill=#FF000000",
          "XPSReadAtt Data=M 0,0 L 10,10", "XPSEndCurElem", "XPSEndElem FixedPage"}},
        {"a Canvas with one child ends by name, the child as the current element",
         R"(<FixedPage><Canvas><Path Data="M 1,1"/></Canvas></FixedPage>)",
         {"XPSStartElem FixedPage", "XPSStartElem Canvas", "XPSStartElem Path", "XPSReadAtt Data=M 1,1",
          "XPSEndCurElem", "XPSEndElem Canvas", "XPSEndElem FixedPage"}},
        {"an element with text only still ends as the current one; text never reaches the converter",
         R"(<FixedPage> <Canvas>text</Canvas> </FixedPage>)",
         {"XPSStartElem FixedPage", "XPSStartElem Canvas", "XPSEndCurElem", "XPSEndElem FixedPage"}},
        {"a non-Latin-1 name or value is sent empty, Latin-1 passes",
         "<FixedPage><\xE4\xB8\xAD caf\xC3\xA9=\"\xC3\xA9t\xC3\xA9\" d=\"\xE4\xB8\xAD\"><Path/></\xE4\xB8\xAD></FixedPage>",
         {"XPSStartElem FixedPage", "XPSStartElem ", "XPSReadAtt d=", "XPSReadAtt café=été", "XPSStartElem Path",
          "XPSEndCurElem", "XPSEndElem ", "XPSEndElem FixedPage"}},
        {"namespace declarations are not attributes; prefixed names stay qualified",
         R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" xmlns:x="http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key" xml:lang="en-US"><Path x:Key="p"/></FixedPage>)",
         {"XPSStartElem FixedPage", "XPSReadAtt xml:lang=en-US", "XPSStartElem Path", "XPSReadAtt x:Key=p",
          "XPSEndCurElem", "XPSEndElem FixedPage"}},
        {"the UnicodeString of a Glyphs reaches the converter as UTF-16",
         R"(<FixedPage><Glyphs UnicodeString="中文 €" FontUri="/f.ttf"/></FixedPage>)",
         {"XPSStartElem FixedPage", "XPSStartElem Glyphs", "XPSReadAtt FontUri=/f.ttf",
          "XPSReadAtt UnicodeString=中文 €", "XPSEndCurElem", "XPSEndElem FixedPage"}},
    };
    for (const Case& c : cases) {
        ConverterHarness harness;
        auto page = MakePage(c.markup);
        EXPECT_EQ(FeedPage(harness, page.Get()), S_OK) << c.name;
        EXPECT_EQ(MarkupCalls(harness.Calls()), c.expected) << c.name;
    }
}

TEST_F(MarkupFeederTest, RemoteDictionaryIsFedInPlace)
{
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage><FixedPage.Resources><ResourceDictionary Source="../Resources/shared.dict"/></FixedPage.Resources><Path Fill="{StaticResource b}"/></FixedPage>)");
    auto dictionary = MakeTestObject<CTestDictionary>(
        "/Documents/1/Resources/shared.dict",
        R"(<ResourceDictionary xmlns="http://schemas.microsoft.com/xps/2005/06" xmlns:x="http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key"><SolidColorBrush x:Key="b" Color="#FF0000FF"/></ResourceDictionary>)");
    // Found only under the name resolved against the page's.
    page->resources["/Documents/1/Resources/shared.dict"] = dictionary.Get();

    ASSERT_EQ(FeedPage(harness, page.Get()), S_OK);
    const auto calls = harness.Calls();
    EXPECT_EQ(MarkupCalls(calls),
              (std::vector<std::string>{
                  "XPSStartElem FixedPage", "XPSStartElem FixedPage.Resources", "XPSStartElem ResourceDictionary",
                  "XPSReadAtt Source=../Resources/shared.dict", "XPSEndCurElem",
                  // the dictionary part, root included
                  "XPSStartElem ResourceDictionary", "XPSStartElem SolidColorBrush", "XPSReadAtt Color=#FF0000FF",
                  "XPSReadAtt x:Key=b", "XPSEndCurElem", "XPSEndElem ResourceDictionary",
                  // back on the page
                  "XPSEndElem FixedPage.Resources", "XPSStartElem Path", "XPSReadAtt Fill={StaticResource b}",
                  "XPSEndCurElem", "XPSEndElem FixedPage"}));
    // The dictionary gets no page values of its own.
    int pageDevices = 0;
    for (const auto& call : calls)
        pageDevices += call.Call() == "XpsSetPageDevice";
    EXPECT_EQ(pageDevices, 1);
}

TEST_F(MarkupFeederTest, DictionaryNamingAnotherDictionaryIsNotFollowed)
{
    // A dictionary part that names itself (or another) by Source: only the page's own reference is
    // followed, so a package that loops cannot recurse without end.
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage><ResourceDictionary Source="/loop.dict"/></FixedPage>)");
    auto dictionary = MakeTestObject<CTestDictionary>(
        "/loop.dict", R"(<ResourceDictionary><ResourceDictionary Source="/loop.dict"/></ResourceDictionary>)");
    page->resources["/loop.dict"] = dictionary.Get();

    ASSERT_EQ(FeedPage(harness, page.Get()), S_OK);
    EXPECT_EQ(MarkupCalls(harness.Calls()),
              (std::vector<std::string>{"XPSStartElem FixedPage", "XPSStartElem ResourceDictionary",
                                        "XPSReadAtt Source=/loop.dict", "XPSEndCurElem",
                                        "XPSStartElem ResourceDictionary", "XPSStartElem ResourceDictionary",
                                        "XPSReadAtt Source=/loop.dict", "XPSEndCurElem",
                                        "XPSEndElem ResourceDictionary", "XPSEndElem FixedPage"}));
}

TEST_F(MarkupFeederTest, MissingDictionaryDoesNotStopThePage)
{
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage><ResourceDictionary Source="/missing.dict"/><Path/></FixedPage>)");
    EXPECT_EQ(FeedPage(harness, page.Get()), S_OK);
    EXPECT_EQ(LastMarkupCall(harness), "XPSEndElem FixedPage");
}

class CancelledJob : public MarkupFeederTest {
protected:
    static constexpr char kPrinter[] = "Cancel Test Printer";
    static constexpr std::uint32_t kJob = 4711;
    void SetUp() override
    {
        SpoolerAddPrinter(kPrinter);
        JobInfo job;
        job.jobId = kJob;
        job.printerName = kPrinter;
        job.status = JOB_STATUS_PRINTING | JOB_STATUS_DELETING;
        SpoolerAddJob(job);
    }
    void TearDown() override { SpoolerRemoveJob(kJob); }
};

TEST_F(CancelledJob, StopsAtTheEndOfTheNextImageBrush)
{
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage><Path><Path.Fill><ImageBrush ImageSource="/i.png"/></Path.Fill></Path><Path Data="M 2,2"/></FixedPage>)");
    EXPECT_EQ(FeedPage(harness, page.Get(), kPrinter, kJob), HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED));
    EXPECT_EQ(MarkupCalls(harness.Calls()),
              (std::vector<std::string>{"XPSStartElem FixedPage", "XPSStartElem Path", "XPSStartElem Path.Fill",
                                        "XPSStartElem ImageBrush", "XPSReadAtt ImageSource=/i.png",
                                        "XPSEndCurElem"}));
}

TEST_F(CancelledJob, PageWithoutImageBrushIsNotStopped)
{
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage><Path Data="M 2,2"/><Glyphs UnicodeString="x"/></FixedPage>)");
    EXPECT_EQ(FeedPage(harness, page.Get(), kPrinter, kJob), S_OK);
    EXPECT_EQ(LastMarkupCall(harness), "XPSEndElem FixedPage");
}

TEST_F(CancelledJob, AnotherJobIsNotStopped)
{
    ConverterHarness harness;
    auto page = MakePage(R"(<FixedPage><ImageBrush/><Path/></FixedPage>)");
    EXPECT_EQ(FeedPage(harness, page.Get(), kPrinter, kJob + 1), S_OK);
}

TEST_F(MarkupFeederTest, MissingXpsFeedFailsThePageBeforeAnyCall)
{
    ConverterHarness harness;
    auto page = MakePage("<FixedPage/>");
    const std::string empty = ::testing::TempDir() + "/no-driver";
    std::string message;
    HRESULT hr;
    {
        ScopedDriverDirectory elsewhere(empty);
        hr = FeedPage(harness, page.Get(), {}, 0, &message);
    }
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_NE(message.find(empty + "/3/libxpsfeed.so"), std::string::npos) << message;
    EXPECT_TRUE(MarkupCalls(harness.Calls()).empty());
}

TEST_F(MarkupFeederTest, MalformedMarkupFailsWithThePartName)
{
    ConverterHarness harness;
    auto page = MakePage("<FixedPage><Path></FixedPage>");
    std::string message;
    EXPECT_TRUE(FAILED(FeedPage(harness, page.Get(), {}, 0, &message)));
    EXPECT_NE(message.find(kPageUri), std::string::npos) << message;
}

} // namespace
