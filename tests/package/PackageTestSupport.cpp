#include "tests/package/PackageTestSupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/ComBase.h"
#include "framework/PartUri.h"
#include "host/package/PackageReader.h"
#include "host/package/PackageWriter.h"

ScratchDir::ScratchDir()
{
    char pattern[] = "/tmp/xpspackage-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made)
        throw std::runtime_error("mkdtemp failed");
    path_ = made;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteZip(const std::string& path, const std::vector<ZipItem>& items)
{
    int code = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    for (const ZipItem& item : items) {
        zip_source_t* source = zip_source_buffer(zip, item.content.data(), item.content.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(zip, item.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE), 0) << item.name;
    }
    ASSERT_EQ(zip_close(zip), 0) << zip_strerror(zip);
}

std::vector<ZipItem> MinimalPackage(const std::string& pageMarkup, const std::string& pageRels)
{
    std::vector<ZipItem> items = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"fdseq\" ContentType=\"application/vnd.ms-package.xps-fixeddocumentsequence+xml\"/>"
         "<Default Extension=\"fdoc\" ContentType=\"application/vnd.ms-package.xps-fixeddocument+xml\"/>"
         "<Default Extension=\"fpage\" ContentType=\"application/vnd.ms-package.xps-fixedpage+xml\"/>"
         "<Default Extension=\"TTF\" ContentType=\"application/vnd.ms-opentype\"/>"
         "<Default Extension=\"png\" ContentType=\"image/png\"/></Types>"},
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"R0\" Type=\"http://schemas.microsoft.com/xps/2005/06/fixedrepresentation\" Target=\"/FixedDocumentSequence.fdseq\"/>"
         "</Relationships>"},
        {"FixedDocumentSequence.fdseq",
         "<FixedDocumentSequence xmlns=\"http://schemas.microsoft.com/xps/2005/06\">"
         "<DocumentReference Source=\"Documents/1/FixedDocument.fdoc\"/></FixedDocumentSequence>"},
        {"Documents/1/FixedDocument.fdoc",
         "<FixedDocument xmlns=\"http://schemas.microsoft.com/xps/2005/06\"><PageContent Source=\"Pages/1.fpage\"/></FixedDocument>"},
        {"Documents/1/Pages/1.fpage", pageMarkup},
    };
    if (!pageRels.empty())
        items.push_back({"Documents/1/Pages/_rels/1.fpage.rels", pageRels});
    return items;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string PartContent(IUnknown* part)
{
    ComPtr<IPartBase> base;
    EXPECT_EQ(QueryTo(part, &base), S_OK);
    if (!base)
        return {};
    ComPtr<IPrintReadStream> stream;
    EXPECT_EQ(base->GetStream(stream.Put()), S_OK);
    std::string bytes;
    char buffer[4096];
    for (;;) {
        ULONG read = 0;
        BOOL end = 0;
        const HRESULT hr = stream->ReadBytes(buffer, sizeof buffer, &read, &end);
        EXPECT_EQ(hr, S_OK);
        bytes.append(buffer, read);
        if (FAILED(hr) || end || read == 0)
            break;
    }
    return bytes;
}

std::vector<YieldedPart> DrainProvider(IXpsDocumentProvider* provider, HRESULT* result)
{
    std::vector<YieldedPart> parts;
    for (;;) {
        ComPtr<IUnknown> part;
        *result = provider->GetXpsPart(part.Put());
        if (FAILED(*result) || !part)
            return parts;
        ComPtr<IUnknown> probe;
        const char* kind = SUCCEEDED(part->QueryInterface(IXpsDocument::kIid, probe.PutVoid()))             ? "package"
                           : SUCCEEDED(part->QueryInterface(IFixedDocumentSequence::kIid, probe.PutVoid())) ? "sequence"
                           : SUCCEEDED(part->QueryInterface(IFixedDocument::kIid, probe.PutVoid()))         ? "document"
                           : SUCCEEDED(part->QueryInterface(IFixedPage::kIid, probe.PutVoid()))             ? "page"
                                                                                                             : "unknown";
        parts.push_back({kind, PartUri(part.Get()), part});
    }
}

void CopyPackage(const std::string& input, const std::string& output)
{
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    ASSERT_EQ(OpenXpsPackage(input, &provider, &error), S_OK) << error.Text();
    ComPtr<IXpsDocumentConsumer> writer;
    ASSERT_EQ(CreateXpsPackageWriter(output, &writer, &error), S_OK) << error.Text();
    for (;;) {
        ComPtr<IUnknown> part;
        const HRESULT hr = provider->GetXpsPart(part.Put());
        ASSERT_EQ(hr, S_OK) << LastPackageError(provider.Get()).Text();
        if (!part)
            break;
        ComPtr<IXpsDocument> package;
        ComPtr<IFixedDocumentSequence> sequence;
        ComPtr<IFixedDocument> document;
        ComPtr<IFixedPage> page;
        HRESULT sent = E_NOINTERFACE;
        if (SUCCEEDED(QueryTo(part.Get(), &package)))
            sent = writer->SendXpsDocument(package.Get());
        else if (SUCCEEDED(QueryTo(part.Get(), &sequence)))
            sent = writer->SendFixedDocumentSequence(sequence.Get());
        else if (SUCCEEDED(QueryTo(part.Get(), &document)))
            sent = writer->SendFixedDocument(document.Get());
        else if (SUCCEEDED(QueryTo(part.Get(), &page)))
            sent = writer->SendFixedPage(page.Get());
        ASSERT_EQ(sent, S_OK) << LastPackageError(writer.Get()).Text() << " / " << LastPackageError(provider.Get()).Text();
    }
    ASSERT_EQ(writer->CloseSender(), S_OK) << LastPackageError(writer.Get()).Text();
}

std::pair<int, std::string> RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return {-1, "popen failed"};
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::vector<std::string> RenderWithMutool(const std::string& package, const std::string& folder)
{
    std::filesystem::create_directories(folder);
    const auto [status, output] = RunCommand("mutool draw -q -r 36 -o '" + folder + "/page%d.png' '" + package + "'");
    std::vector<std::string> pages;
    if (status != 0)
        return pages;
    for (int i = 1;; ++i) {
        const std::string bytes = ReadFile(folder + "/page" + std::to_string(i) + ".png");
        if (bytes.empty())
            break;
        pages.push_back(bytes);
    }
    return pages;
}
