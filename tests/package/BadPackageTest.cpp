#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "host/package/PackageReader.h"
#include "tests/package/PackageTestSupport.h"

namespace {

constexpr const char* kPage = "<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\" Width=\"100\" Height=\"100\"></FixedPage>";

std::string Rels(const std::string& type, const std::string& target)
{
    return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"R1\" Type=\"" +
           type + "\" Target=\"" + target + "\"/></Relationships>";
}

std::vector<ZipItem> With(std::vector<ZipItem> items, std::vector<ZipItem> more)
{
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

// A package whose page says it inflates to fewer bytes than it does: the ZIP directory lies.
void WriteLyingPackage(const std::string& path)
{
    WriteZip(path, MinimalPackage(std::string(kPage).insert(std::strlen(kPage) - 12, std::string(5000, ' '))));
    std::string bytes = ReadFile(path);
    const std::string name = "Documents/1/Pages/1.fpage";
    for (std::size_t at = bytes.find(name); at != std::string::npos; at = bytes.find(name, at + 1)) {
        if (at >= 46 && bytes.compare(at - 46, 4, "PK\1\2") == 0)
            std::memcpy(&bytes[at - 46 + 24], "\x0a\0\0\0", 4);  // central directory: size 10
        else if (at >= 30 && bytes.compare(at - 30, 4, "PK\3\4") == 0 && bytes.compare(at - 30 + 22, 4, std::string(4, '\0')) != 0)
            std::memcpy(&bytes[at - 30 + 22], "\x0a\0\0\0", 4);  // local header
    }
    WriteFile(path, bytes);
}

struct BadCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    bool failsAtOpen;
    const char* part;     // the part the error names (a suffix of it)
    const char* message;  // part of the message
};

class BadPackage : public testing::TestWithParam<BadCase> {};

TEST_P(BadPackage, FailsWithAMessageNamingThePart)
{
    const BadCase& c = GetParam();
    ScratchDir dir;
    const std::string path = dir.Path("job.xps");
    c.make(path);
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    const HRESULT opened = OpenXpsPackage(path, &provider, &error);
    if (c.failsAtOpen) {
        EXPECT_TRUE(FAILED(opened));
        EXPECT_FALSE(provider);
    } else {
        ASSERT_EQ(opened, S_OK) << error.Text();
        HRESULT result = S_OK;
        DrainProvider(provider.Get(), &result);
        EXPECT_TRUE(FAILED(result));
        error = LastPackageError(provider.Get());
    }
    EXPECT_TRUE(error.Failed());
    EXPECT_TRUE(error.part.ends_with(c.part)) << error.Text();
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.Text();
    EXPECT_EQ(error.Text().find('\n'), std::string::npos);
}

const std::string kResourceType = "http://schemas.microsoft.com/xps/2005/06/required-resource";

INSTANTIATE_TEST_SUITE_P(
    Table, BadPackage,
    testing::Values(
        BadCase{"NotAZip", [](const std::string& p) { WriteFile(p, "this is a text file, not a package\n"); }, true, "job.xps",
                "not a readable ZIP"},
        BadCase{"Truncated",
                [](const std::string& p) { WriteFile(p, ReadFile(CorpusDir() + "/broken/aspose-pdf-old-truncated-spool-capture.xps")); },
                true, "job.xps", "not a readable ZIP"},
        BadCase{"ParentInName", [](const std::string& p) { WriteZip(p, With(MinimalPackage(kPage), {{"../evil.txt", "x"}})); }, true,
                "../evil.txt", "escapes the package"},
        BadCase{"AbsoluteName", [](const std::string& p) { WriteZip(p, With(MinimalPackage(kPage), {{"/etc/evil", "x"}})); }, true,
                "/etc/evil", "escapes the package"},
        BadCase{"BackslashName", [](const std::string& p) { WriteZip(p, With(MinimalPackage(kPage), {{"a\\..\\..\\evil", "x"}})); },
                true, "evil", "escapes the package"},
        BadCase{"ZipBomb",
                [](const std::string& p) { WriteZip(p, With(MinimalPackage(kPage), {{"Resources/big.bin", std::string(8 << 20, '\0')}})); },
                true, "/Resources/big.bin", "zip bomb"},
        // Pieces of 1 MiB each pass alone; the part they make is what inflates.
        BadCase{"ZipBombInPieces",
                [](const std::string& p) {
                    auto items = MinimalPackage(kPage);
                    for (int i = 0; i < 8; ++i)
                        items.push_back({"Resources/big.bin/[" + std::to_string(i) + (i == 7 ? "].last.piece" : "].piece"),
                                         std::string(1 << 20, '\0')});
                    WriteZip(p, items);
                },
                true, "/Resources/big.bin", "zip bomb"},
        BadCase{"SizeThatLies", WriteLyingPackage, false, "/Documents/1/Pages/1.fpage", "declares"},
        BadCase{"NoSequence",
                [](const std::string& p) {
                    auto items = MinimalPackage(kPage);
                    items[1].content = Rels("http://example.com/other", "/FixedDocumentSequence.fdseq");
                    WriteZip(p, items);
                },
                true, "job.xps", "no FixedDocumentSequence"},
        BadCase{"MissingDocument",
                [](const std::string& p) {
                    auto items = MinimalPackage(kPage);
                    items.erase(items.begin() + 3);
                    WriteZip(p, items);
                },
                false, "/Documents/1/FixedDocument.fdoc", "missing"},
        BadCase{"RelationshipToMissingPart",
                [](const std::string& p) { WriteZip(p, MinimalPackage(kPage, Rels(kResourceType, "../Resources/missing.ttf"))); }, false,
                "/Documents/1/Pages/1.fpage", "/Documents/1/Resources/missing.ttf"},
        BadCase{"MarkupNamesMissingPart",
                [](const std::string& p) {
                    WriteZip(p, MinimalPackage("<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\" Width=\"1\" Height=\"1\">"
                                               "<Glyphs FontUri=\"/gone.ttf\" FontRenderingEmSize=\"1\" OriginX=\"0\" OriginY=\"0\"/></FixedPage>"));
                },
                false, "/Documents/1/Pages/1.fpage", "/gone.ttf"},
        BadCase{"PageNotWellFormed",
                [](const std::string& p) {
                    WriteZip(p, MinimalPackage("<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\"><Path></FixedPage>"));
                },
                false, "/Documents/1/Pages/1.fpage", "not well-formed"},
        BadCase{"PageWithEntities",
                [](const std::string& p) {
                    WriteZip(p, MinimalPackage("<!DOCTYPE FixedPage [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
                                               "<FixedPage xmlns=\"http://schemas.microsoft.com/xps/2005/06\">&b;</FixedPage>"));
                },
                false, "/Documents/1/Pages/1.fpage", "document type"},
        BadCase{"PageOfAnotherKind",
                [](const std::string& p) { WriteZip(p, MinimalPackage("<html><body/></html>")); }, false, "/Documents/1/Pages/1.fpage",
                "not FixedPage"},
        BadCase{"MissingLastPiece",
                [](const std::string& p) {
                    auto items = MinimalPackage(kPage);
                    items.back().name = "Documents/1/Pages/1.fpage/[0].piece";
                    WriteZip(p, items);
                },
                true, "/Documents/1/Pages/1.fpage", "pieces"}),
    [](const testing::TestParamInfo<BadCase>& param) { return std::string(param.param.name); });

TEST(BadPackageFile, MissingFileSaysSo)
{
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    EXPECT_EQ(OpenXpsPackage("/nonexistent/job.xps", &provider, &error), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(error.part, "/nonexistent/job.xps");
}

} // namespace
