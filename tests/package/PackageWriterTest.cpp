#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "framework/ComBase.h"
#include "framework/XDException.h"
#include "host/package/FontObfuscation.h"
#include "host/package/PackageReader.h"
#include "host/package/PackageWriter.h"
#include "host/package/PartFactory.h"
#include "tests/package/PackageTestSupport.h"
#include "tools/JobGenerator.h"

namespace {

constexpr const char* kFontGuidName = "/Resources/00112233-4455-6677-8899-AABBCCDDEEFF.odttf";

template <class Interface>
ComPtr<Interface> NewPart(IXpsDocumentConsumer* writer, const std::string& uri, const std::string& content, bool close = true)
{
    ComPtr<Interface> part;
    ComPtr<IPrintWriteStream> stream;
    EXPECT_EQ(writer->GetNewEmptyPart(uri.c_str(), IidOf<Interface>(), part.PutVoid(), stream.Put()), S_OK);
    ULONG written = 0;
    EXPECT_EQ(stream->WriteBytes(content.data(), static_cast<ULONG>(content.size()), &written), S_OK);
    if (close)
        stream->Close();
    return part;
}

std::string Page(const std::string& body)
{
    return "<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\" Width=\"200\" Height=\"200\">" + body + "</FixedPage>";
}

class PackageWriterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateXpsPackageWriter(path_, &writer_, nullptr), S_OK); }
    void Start(IPartPrintTicket* jobTicket = nullptr, IPartPrintTicket* documentTicket = nullptr)
    {
        ComPtr<IFixedDocumentSequence> sequence;
        ASSERT_EQ(CreateFixedDocumentSequence("/FixedDocumentSequence.fdseq", jobTicket, sequence.Put()), S_OK);
        ASSERT_EQ(writer_->SendFixedDocumentSequence(sequence.Get()), S_OK);
        ComPtr<IFixedDocument> document;
        ASSERT_EQ(CreateFixedDocument("/Documents/1/FixedDocument.fdoc", documentTicket, document.Put()), S_OK);
        ASSERT_EQ(writer_->SendFixedDocument(document.Get()), S_OK);
    }

    ScratchDir dir_;
    std::string path_ = dir_.Path("out.xps");
    ComPtr<IXpsDocumentConsumer> writer_;
};

TEST_F(PackageWriterTest, WritesResourcesOnceAndListsExactlyThePagesSent)
{
    const std::string fontBytes = "\0\1\0\0 a font of some bytes that are long enough to be obfuscated";
    auto ticket = NewPart<IPartPrintTicket>(writer_.Get(), "/Metadata/Job_PT.xml", "<job/>");
    auto docTicket = NewPart<IPartPrintTicket>(writer_.Get(), "/Metadata/Doc_PT.xml", "<doc/>");
    Start(ticket.Get(), docTicket.Get());
    auto font = NewPart<IPartFont>(writer_.Get(), "/Resources/f.ttf", fontBytes);
    auto image = NewPart<IPartImage>(writer_.Get(), "/Resources/i.png", "png");
    ASSERT_EQ(image->SetImageContent("image/png"), S_OK);
    for (int i = 1; i <= 3; ++i) {
        auto page = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/" + std::to_string(i) + ".fpage", Page(""));
        ASSERT_EQ(page->SetPagePart(font.Get()), S_OK);
        if (i == 2) {
            ASSERT_EQ(page->SetPagePart(image.Get()), S_OK);
            ASSERT_EQ(page->SetPrintTicket(NewPart<IPartPrintTicket>(writer_.Get(), "/Metadata/P2_PT.xml", "<page/>").Get()), S_OK);
        }
        ASSERT_EQ(writer_->SendFixedPage(page.Get()), S_OK);
    }
    ASSERT_EQ(writer_->CloseSender(), S_OK) << LastPackageError(writer_.Get()).Text();

    auto entries = ReadPackageParts(path_, ZipCheck::kConsistent);
    EXPECT_EQ(entries["/Resources/f.ttf"], fontBytes);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.first.ends_with(".ttf"); }), 1);
    EXPECT_NE(entries["/Documents/1/FixedDocument.fdoc"].find("<PageContent Source=\"/Documents/1/Pages/3.fpage\"/></FixedDocument>"),
              std::string::npos);
    EXPECT_EQ(std::count(entries["/Documents/1/FixedDocument.fdoc"].begin(), entries["/Documents/1/FixedDocument.fdoc"].end(), '<'), 6);
    const std::string rels = entries["/Documents/1/Pages/_rels/2.fpage.rels"];
    EXPECT_NE(rels.find("required-resource\" Target=\"/Resources/f.ttf\""), std::string::npos) << rels;
    EXPECT_NE(rels.find("required-resource\" Target=\"/Resources/i.png\""), std::string::npos) << rels;
    EXPECT_NE(rels.find("printticket\" Target=\"/Metadata/P2_PT.xml\""), std::string::npos) << rels;
    EXPECT_NE(entries["/_rels/FixedDocumentSequence.fdseq.rels"].find("/Metadata/Job_PT.xml"), std::string::npos);
    EXPECT_NE(entries["/Documents/1/_rels/FixedDocument.fdoc.rels"].find("/Metadata/Doc_PT.xml"), std::string::npos);
    EXPECT_NE(entries["/[Content_Types].xml"].find("Extension=\"fpage\" ContentType=\"application/vnd.ms-package.xps-fixedpage+xml\""),
              std::string::npos);
    const auto [status, output] = RunCommand("unzip -t '" + path_ + "'");
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("No errors detected"), std::string::npos) << output;

    // The reader reads the package back: tickets at each level, resources on the pages.
    ComPtr<IXpsDocumentProvider> provider;
    ASSERT_EQ(OpenXpsPackage(path_, &provider, nullptr), S_OK);
    HRESULT result = E_FAIL;
    const auto parts = DrainProvider(provider.Get(), &result);
    ASSERT_EQ(result, S_OK);
    ASSERT_EQ(parts.size(), 6u);
    ComPtr<IFixedPage> second;
    ASSERT_EQ(QueryTo(parts[4].part.Get(), &second), S_OK);
    ComPtr<IPartPrintTicket> readTicket;
    ASSERT_EQ(second->GetPrintTicket(readTicket.Put()), S_OK);
    EXPECT_EQ(PartContent(readTicket.Get()), "<page/>");
    ComPtr<IUnknown> readFont;
    ASSERT_EQ(second->GetPagePart("/Resources/f.ttf", readFont.Put()), S_OK);
    EXPECT_EQ(PartContent(readFont.Get()), fontBytes);
}

TEST_F(PackageWriterTest, ObfuscatesFontsThatAskForIt)
{
    const std::string fontBytes = std::string("\0\1\0\0", 4) + std::string(60, 'F');
    Start();
    auto font = NewPart<IPartFont>(writer_.Get(), kFontGuidName, fontBytes);
    ASSERT_EQ(font->SetFontOptions(Font_Obfusticate), S_OK);
    auto page = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/1.fpage", Page(""));
    ASSERT_EQ(page->SetPagePart(font.Get()), S_OK);
    ASSERT_EQ(writer_->SendFixedPage(page.Get()), S_OK);
    ASSERT_EQ(writer_->CloseSender(), S_OK) << LastPackageError(writer_.Get()).Text();

    auto entries = ReadPackageParts(path_, ZipCheck::kConsistent);
    std::string stored = entries[kFontGuidName];
    ASSERT_EQ(stored.size(), fontBytes.size());
    EXPECT_NE(stored.substr(0, 32), fontBytes.substr(0, 32));
    EXPECT_EQ(stored.substr(32), fontBytes.substr(32));
    ApplyFontObfuscation(*FontObfuscationKeyOf(kFontGuidName), 0, reinterpret_cast<std::uint8_t*>(stored.data()), stored.size());
    EXPECT_EQ(stored, fontBytes);
    EXPECT_NE(entries["/[Content_Types].xml"].find("Extension=\"odttf\" ContentType=\"application/vnd.ms-package.obfuscated-opentype\""),
              std::string::npos);
}

TEST_F(PackageWriterTest, RefusesObfuscationWithoutAGuidName)
{
    Start();
    auto font = NewPart<IPartFont>(writer_.Get(), "/Resources/Arial.ttf", "font");
    ASSERT_EQ(font->SetFontOptions(Font_Obfusticate), S_OK);
    auto page = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/1.fpage", Page(""));
    ASSERT_EQ(page->SetPagePart(font.Get()), S_OK);
    EXPECT_EQ(writer_->SendFixedPage(page.Get()), E_INVALIDARG);
    EXPECT_EQ(LastPackageError(writer_.Get()).part, "/Resources/Arial.ttf");
    EXPECT_EQ(writer_->CloseSender(), E_INVALIDARG);
}

TEST_F(PackageWriterTest, OneNameTwoContentsIsAnErrorButEqualCopiesAreOne)
{
    Start();
    for (const char* content : {"same", "same", "different"}) {
        auto page = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/1.fpage", Page(""));
        ASSERT_EQ(page->SetPagePart(NewPart<IPartImage>(writer_.Get(), "/Resources/i.png", content).Get()), S_OK);
        const HRESULT hr = writer_->SendFixedPage(page.Get());
        EXPECT_EQ(hr, std::string(content) == "different" ? E_INVALIDARG : S_OK) << content;
    }
    const PackageError error = LastPackageError(writer_.Get());
    EXPECT_EQ(error.part, "/Resources/i.png");
    EXPECT_NE(error.message.find("two different parts"), std::string::npos);
}

TEST_F(PackageWriterTest, PagesOfOneNameStayDistinct)
{
    Start();
    auto page = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/1.fpage", Page(""));
    ASSERT_EQ(writer_->SendFixedPage(page.Get()), S_OK);
    ASSERT_EQ(writer_->SendFixedPage(page.Get()), S_OK);
    ASSERT_EQ(writer_->CloseSender(), S_OK);
    auto entries = ReadPackageParts(path_, ZipCheck::kConsistent);
    EXPECT_EQ(entries.count("/Documents/1/Pages/1.fpage"), 1u);
    EXPECT_EQ(entries.count("/Documents/1/Pages/1-2.fpage"), 1u);
    EXPECT_NE(entries["/Documents/1/FixedDocument.fdoc"].find("1-2.fpage"), std::string::npos);
}

TEST_F(PackageWriterTest, PartsSentBeforeTheirStreamClosedAreNamed)
{
    Start();
    auto page = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/1.fpage", Page(""), false);
    EXPECT_EQ(writer_->SendFixedPage(page.Get()), ResultNotAvailable);
    EXPECT_EQ(LastPackageError(writer_.Get()).part, "/Documents/1/Pages/1.fpage");
}

// A page whose content stream breaks half way.
class CFailingPage final : public CComBase<IFixedPage> {
public:
    class CStream final : public CComBase<IPrintReadStream> {
    public:
        HRESULT Seek(std::int64_t, std::uint32_t, std::uint64_t*) override { return E_NOTIMPL; }
        HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* end) override
        {
            if (calls_++ > 0)
                return E_ACCESSDENIED;
            *read = std::min<ULONG>(size, 5);
            std::memcpy(buffer, "<Fixe", *read);
            *end = 0;
            return S_OK;
        }

    private:
        int calls_ = 0;
    };
    HRESULT GetUri(std::string* uri) override { return *uri = "/broken.fpage", S_OK; }
    HRESULT GetStream(IPrintReadStream** stream) override { return *stream = new CStream, S_OK; }
    HRESULT GetPartCompression(EXpsCompressionOptions* c) override { return *c = Compression_Normal, S_OK; }
    HRESULT SetPartCompression(EXpsCompressionOptions) override { return S_OK; }
    HRESULT GetPrintTicket(IPartPrintTicket**) override { return ResultNotFound; }
    HRESULT SetPrintTicket(IPartPrintTicket*) override { return E_NOTIMPL; }
    HRESULT GetPagePart(const char*, IUnknown**) override { return ResultNotFound; }
    HRESULT GetWriteStream(IPrintWriteStream**) override { return E_NOTIMPL; }
    HRESULT SetPagePart(IUnknown*) override { return E_NOTIMPL; }
    HRESULT DeleteResource(const char*) override { return E_NOTIMPL; }
    HRESULT GetXpsPartIterator(IXpsPartIterator** iterator) override
    {
        ComPtr<IFixedPage> empty;
        ComPtr<IPrintWriteStream> stream;
        ThrowIfFailed(CreateEmptyPart("/empty.fpage", IFixedPage::kIid, empty.PutVoid(), stream.Put()));
        return empty->GetXpsPartIterator(iterator);
    }
};

TEST_F(PackageWriterTest, AFailingContentStreamFailsThePageAndTheJob)
{
    Start();
    ComPtr<IFixedPage> page;
    page.Attach(new CFailingPage);
    EXPECT_EQ(writer_->SendFixedPage(page.Get()), E_ACCESSDENIED);
    EXPECT_EQ(LastPackageError(writer_.Get()).part, "/broken.fpage");
    auto next = NewPart<IFixedPage>(writer_.Get(), "/Documents/1/Pages/1.fpage", Page(""));
    EXPECT_EQ(writer_->SendFixedPage(next.Get()), E_ACCESSDENIED);
    EXPECT_EQ(writer_->CloseSender(), E_ACCESSDENIED);
}

TEST(PackageWriterOutput, IsTheSameBytesEveryRun)
{
    ScratchDir dir;
    JobGenSettings settings;
    settings.documents = 2;
    settings.pagesPerDocument = 3;
    settings.pageTicket = DefaultTicket(TicketLevel::Page);
    std::string error;
    ASSERT_EQ(GenerateXpsJob(dir.Path("a.xps"), settings, &error), S_OK) << error;
    ASSERT_EQ(GenerateXpsJob(dir.Path("b.xps"), settings, &error), S_OK) << error;
    EXPECT_EQ(ReadFile(dir.Path("a.xps")), ReadFile(dir.Path("b.xps")));
    // Reading and writing it again gives the same package.
    CopyPackage(dir.Path("a.xps"), dir.Path("c.xps"));
    EXPECT_EQ(ReadPackageParts(dir.Path("a.xps"), ZipCheck::kConsistent), ReadPackageParts(dir.Path("c.xps"), ZipCheck::kConsistent));
}

TEST(PackageWriterOutput, UnwritableFileFailsAtCreation)
{
    ComPtr<IXpsDocumentConsumer> writer;
    PackageError error;
    EXPECT_TRUE(FAILED(CreateXpsPackageWriter("/nonexistent/dir/out.xps", &writer, &error)));
    EXPECT_EQ(error.part, "/nonexistent/dir/out.xps");
    EXPECT_FALSE(writer);
}

} // namespace
