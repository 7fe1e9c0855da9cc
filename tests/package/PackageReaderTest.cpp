#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "host/package/PackageReader.h"
#include "platform/com/Stream.h"
#include "tests/package/PackageTestSupport.h"

namespace {

constexpr const char* kPageStart = "<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\" Width=\"100\" Height=\"100\">";
constexpr const char* kRequiredResource = "http://schemas.microsoft.com/xps/2005/06/required-resource";

std::vector<YieldedPart> ReadAll(const std::string& path, HRESULT expected = S_OK)
{
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    EXPECT_EQ(OpenXpsPackage(path, &provider, &error), S_OK) << error.Text();
    if (!provider)
        return {};
    HRESULT result = E_FAIL;
    auto parts = DrainProvider(provider.Get(), &result);
    EXPECT_EQ(result, expected) << LastPackageError(provider.Get()).Text();
    return parts;
}

// The page's resources as name -> kind.
std::map<std::string, std::string> ResourcesOf(IUnknown* part)
{
    std::map<std::string, std::string> resources;
    ComPtr<IFixedPage> page;
    EXPECT_EQ(QueryTo(part, &page), S_OK);
    ComPtr<IXpsPartIterator> iterator;
    EXPECT_EQ(page->GetXpsPartIterator(iterator.Put()), S_OK);
    for (iterator->Reset(); !iterator->IsDone(); iterator->Next()) {
        std::string uri;
        ComPtr<IUnknown> resource;
        EXPECT_EQ(iterator->Current(&uri, resource.Put()), S_OK);
        ComPtr<IUnknown> probe;
        resources[uri] = SUCCEEDED(resource->QueryInterface(IPartFont::kIid, probe.PutVoid()))                ? "font"
                         : SUCCEEDED(resource->QueryInterface(IPartImage::kIid, probe.PutVoid()))             ? "image"
                         : SUCCEEDED(resource->QueryInterface(IPartColorProfile::kIid, probe.PutVoid()))      ? "profile"
                         : SUCCEEDED(resource->QueryInterface(IPartResourceDictionary::kIid, probe.PutVoid())) ? "dictionary"
                                                                                                             : "other";
    }
    return resources;
}

TEST(PackageReader, YieldsJobOrderWithTicketsAtEveryLevel)
{
    const auto parts = ReadAll(CorpusDir() + "/xps/aspose-page-net-mergedXPSfiles.xps");
    std::string kinds;
    for (const auto& p : parts)
        kinds += p.kind.substr(0, 1);
    // Three documents; the corpus lists five pages for the job.
    EXPECT_EQ(kinds.substr(0, 2), "ps");
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 'd'), 3);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 'p') - 1, 5);  // one 'p' is the package
    EXPECT_EQ(kinds[2], 'd');

    ComPtr<IFixedDocumentSequence> sequence;
    ASSERT_EQ(QueryTo(parts[1].part.Get(), &sequence), S_OK);
    ComPtr<IPartPrintTicket> jobTicket;
    ASSERT_EQ(sequence->GetPrintTicket(jobTicket.Put()), S_OK);
    EXPECT_NE(PartContent(jobTicket.Get()).find("PrintTicket"), std::string::npos);

    int documentTickets = 0;
    int pageTickets = 0;
    for (const auto& p : parts) {
        ComPtr<IPartPrintTicket> ticket;
        ComPtr<IFixedDocument> document;
        ComPtr<IFixedPage> page;
        if (SUCCEEDED(QueryTo(p.part.Get(), &document)) && SUCCEEDED(document->GetPrintTicket(ticket.Put())))
            ++documentTickets;
        if (SUCCEEDED(QueryTo(p.part.Get(), &page))) {
            const HRESULT hr = page->GetPrintTicket(ticket.Put());
            EXPECT_TRUE(hr == S_OK || hr == ResultNotFound);
            pageTickets += hr == S_OK;
        }
    }
    EXPECT_GT(documentTickets, 0);
    EXPECT_GT(pageTickets, 0);
}

TEST(PackageReader, PageResourcesIncludePartsOnlyTheMarkupNames)
{
    ScratchDir dir;
    auto items = MinimalPackage(
        std::string(kPageStart) +
            "<FixedPage.Resources><ResourceDictionary Source=\"../Resources/shared.dict\"/></FixedPage.Resources>"
            "<Glyphs FontUri=\"../Resources/Font.TTF\" FontRenderingEmSize=\"12\" OriginX=\"0\" OriginY=\"20\" UnicodeString=\"A\" "
            "Fill=\"ContextColor /Profiles/cmyk.icc 1,0,0,0,1\"/>"
            "<Path Data=\"M 0,0 L 10,0 10,10 Z\"><Path.Fill><ImageBrush ImageSource=\"{ColorConvertedBitmap ../img.png /Profiles/rgb.icc}\" "
            "Viewbox=\"0,0,1,1\" ViewboxUnits=\"Absolute\" Viewport=\"0,0,1,1\" ViewportUnits=\"Absolute\"/></Path.Fill></Path>"
            "</FixedPage>",
        std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"A\" Type=\"") + kRequiredResource + "\" Target=\"../Resources/Font.TTF\"/></Relationships>");
    items.push_back({"Documents/1/Resources/Font.TTF", "font bytes"});
    items.push_back({"Documents/1/img.png", "png bytes"});
    items.push_back({"Profiles/cmyk.icc", "icc"});
    items.push_back({"Profiles/rgb.icc", "icc"});
    items.push_back({"Documents/1/Resources/shared.dict",
                     "<ResourceDictionary xmlns=\"http://schemas.microsoft.com/xps/2005/06\" "
                     "xmlns:x=\"http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key\">"
                     "<ImageBrush x:Key=\"b\" ImageSource=\"dict.png\" Viewbox=\"0,0,1,1\" ViewboxUnits=\"Absolute\" "
                     "Viewport=\"0,0,1,1\" ViewportUnits=\"Absolute\"/></ResourceDictionary>"});
    items.push_back({"Documents/1/Resources/dict.png", "png"});
    WriteZip(dir.Path("job.xps"), items);

    const auto parts = ReadAll(dir.Path("job.xps"));
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[3].uri, "/Documents/1/Pages/1.fpage");
    const std::map<std::string, std::string> expected = {
        {"/Documents/1/Resources/Font.TTF", "font"},      {"/Documents/1/Resources/shared.dict", "dictionary"},
        {"/Documents/1/Resources/dict.png", "image"},     {"/Profiles/cmyk.icc", "profile"},
        {"/Documents/1/img.png", "image"},                {"/Profiles/rgb.icc", "profile"}};
    EXPECT_EQ(ResourcesOf(parts[3].part.Get()), expected);
}

TEST(PackageReader, InterleavedPiecesJoinInOrderAndUtf16MarkupIsRead)
{
    ScratchDir dir;
    const std::string markup = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + std::string(kPageStart) +
                               "<Glyphs FontUri=\"/f.ttf\" FontRenderingEmSize=\"12\" OriginX=\"0\" OriginY=\"20\" UnicodeString=\"A\"/></FixedPage>";
    std::string utf16 = "\xff\xfe";  // UTF-16LE with its byte order mark
    for (char c : markup) {
        utf16 += c;
        utf16 += '\0';
    }
    auto items = MinimalPackage("");
    items.pop_back();  // the page comes in pieces instead
    items.push_back({"Documents/1/Pages/1.fpage/[1].piece", utf16.substr(100, 100)});
    items.push_back({"Documents/1/Pages/1.fpage/[0].piece", utf16.substr(0, 100)});
    items.push_back({"Documents/1/Pages/1.fpage/[2].last.piece", utf16.substr(200)});
    items.push_back({"f.ttf", "font"});
    WriteZip(dir.Path("job.xps"), items);

    const auto parts = ReadAll(dir.Path("job.xps"));
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(PartContent(parts[3].part.Get()), utf16);
    EXPECT_EQ(ResourcesOf(parts[3].part.Get()), (std::map<std::string, std::string>{{"/f.ttf", "font"}}));
}

TEST(PackageReader, ResourcesAreSharedObjectsAndStreamsSeek)
{
    const auto parts = ReadAll(CorpusDir() + "/xps/pdfsharp-xps-outline.xps");
    std::map<std::string, IUnknown*> seen;
    int shared = 0;
    for (const auto& p : parts) {
        ComPtr<IFixedPage> page;
        if (FAILED(QueryTo(p.part.Get(), &page)))
            continue;
        ComPtr<IXpsPartIterator> iterator;
        ASSERT_EQ(page->GetXpsPartIterator(iterator.Put()), S_OK);
        for (; !iterator->IsDone(); iterator->Next()) {
            std::string uri;
            ComPtr<IUnknown> resource;
            ASSERT_EQ(iterator->Current(&uri, resource.Put()), S_OK);
            const auto [slot, added] = seen.emplace(uri, resource.Get());
            if (!added) {
                EXPECT_EQ(slot->second, resource.Get()) << uri;
                ++shared;
            }
        }
    }
    EXPECT_GT(shared, 0);

    ComPtr<IFixedPage> page;
    ASSERT_EQ(QueryTo(parts.back().part.Get(), &page), S_OK);
    const std::string whole = PartContent(page.Get());
    ASSERT_GT(whole.size(), 200u);
    ComPtr<IPrintReadStream> stream;
    ASSERT_EQ(page->GetStream(stream.Put()), S_OK);
    char buffer[100];
    ULONG read = 0;
    BOOL end = 0;
    ASSERT_EQ(stream->ReadBytes(buffer, 100, &read, &end), S_OK);
    std::uint64_t position = 0;
    ASSERT_EQ(stream->Seek(10, STREAM_SEEK_SET, &position), S_OK);
    EXPECT_EQ(position, 10u);
    ASSERT_EQ(stream->ReadBytes(buffer, 50, &read, &end), S_OK);
    EXPECT_EQ(std::string(buffer, read), whole.substr(10, 50));
    ASSERT_EQ(stream->Seek(-20, STREAM_SEEK_END, &position), S_OK);
    ASSERT_EQ(stream->ReadBytes(buffer, 100, &read, &end), S_OK);
    EXPECT_EQ(std::string(buffer, read), whole.substr(whole.size() - 20));
    EXPECT_TRUE(end);
    // Targets before the start or beyond what a position can hold are refused, not wrapped.
    EXPECT_EQ(stream->Seek(-1, STREAM_SEEK_SET, &position), E_INVALIDARG);
    EXPECT_EQ(stream->Seek(std::numeric_limits<std::int64_t>::max(), STREAM_SEEK_END, &position), E_INVALIDARG);
}

TEST(PackageReader, OpenXpsPackagesAndThumbnails)
{
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    ASSERT_EQ(OpenXpsPackage(CorpusDir() + "/xps/groupdocs-conversion-sample.oxps", &provider, &error), S_OK);
    HRESULT result = E_FAIL;
    const auto parts = DrainProvider(provider.Get(), &result);
    ASSERT_EQ(result, S_OK);
    ASSERT_EQ(parts.size(), 7u);  // package, sequence, one document, four pages
    ComPtr<IXpsDocument> package;
    ASSERT_EQ(QueryTo(parts[0].part.Get(), &package), S_OK);
    ComPtr<IPartThumbnail> thumbnail;
    ASSERT_EQ(package->GetThumbnail(thumbnail.Put()), S_OK);
    std::string type;
    ASSERT_EQ(thumbnail->GetThumbnailProperties(&type), S_OK);
    EXPECT_EQ(type, "image/jpeg");
    EXPECT_EQ(PartContent(thumbnail.Get()).substr(0, 2), "\xff\xd8");
}

TEST(PackageReader, PagesAreReadOnlyWhenReached)
{
    ScratchDir dir;
    auto items = MinimalPackage(std::string(kPageStart) + "</FixedPage>");
    items[3].content = "<FixedDocument xmlns=\"http://schemas.microsoft.com/xps/2005/06\">"
                       "<PageContent Source=\"Pages/1.fpage\"/><PageContent Source=\"Pages/2.fpage\"/></FixedDocument>";
    WriteZip(dir.Path("job.xps"), items);
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    ASSERT_EQ(OpenXpsPackage(dir.Path("job.xps"), &provider, &error), S_OK);
    HRESULT result = S_OK;
    const auto parts = DrainProvider(provider.Get(), &result);
    ASSERT_EQ(parts.size(), 4u);  // the first page came before the failure
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_EQ(LastPackageError(provider.Get()).part, "/Documents/1/Pages/2.fpage");
    ComPtr<IUnknown> again;
    EXPECT_EQ(provider->GetXpsPart(again.Put()), result);
}

} // namespace
