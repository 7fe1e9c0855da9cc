// Every FixedPage and resource dictionary of the corpus, copied through the copying rules,
// re-parses as well-formed XML equal to its input as an XML tree (compared canonicalised).
#include <gtest/gtest.h>
#include <libxml/c14n.h>
#include <libxml/parser.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "framework/MarkupCopier.h"
#include "framework/PartMarkup.h"
#include "tests/markup/MarkupFakes.h"

namespace {

using markup_test::CMemoryPart;
using markup_test::CMemorySink;
using markup_test::Make;

const std::filesystem::path kCorpus = std::filesystem::path(XPSCHAIN_CORPUS_DIR) / "xps";

struct MarkupPart {
    std::string name;
    std::string bytes;
};

std::string Lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool IsMarkupPart(const std::string& name)
{
    const std::string lower = Lowercase(name);
    return lower.ends_with(".fpage") || lower.ends_with(".dict");
}

struct Piece {
    std::string part;
    int index;
};

// "Pages/1.fpage/[3].piece" or "Pages/1.fpage/[4].last.piece": the part and the piece's index.
std::optional<Piece> PieceOf(const std::string& entry)
{
    const std::size_t slash = entry.rfind('/');
    const std::size_t close = entry.find(']', slash);
    if (slash == std::string::npos || close == std::string::npos || entry.compare(slash + 1, 1, "[") != 0 ||
        close == slash + 2)
        return std::nullopt;
    const std::string digits = entry.substr(slash + 2, close - slash - 2);
    const std::string rest = Lowercase(entry.substr(close + 1));
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }) ||
        (rest != ".piece" && rest != ".last.piece"))
        return std::nullopt;
    return Piece{entry.substr(0, slash), std::stoi(digits)};
}

// The FixedPage and dictionary parts of a package; interleaved pieces ("[0].piece" to
// "[n].last.piece") are joined in order.
std::vector<MarkupPart> ReadMarkupParts(const std::filesystem::path& package)
{
    int error = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(package.c_str(), ZIP_RDONLY, &error), zip_discard);
    if (!archive)
        throw std::runtime_error("cannot open " + package.string());
    std::map<std::string, std::map<int, std::string>> parts;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const std::string entry = zip_get_name(archive.get(), i, 0);
        const std::optional<Piece> piece = PieceOf(entry);
        const std::string name = piece ? piece->part : entry;
        if (!IsMarkupPart(name))
            continue;
        zip_stat_t stat;
        zip_stat_index(archive.get(), i, 0, &stat);
        std::string bytes(stat.size, '\0');
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(archive.get(), i, 0), zip_fclose);
        if (!file || zip_fread(file.get(), bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size()))
            throw std::runtime_error("cannot read " + entry + " of " + package.string());
        parts[name][piece ? piece->index : 0] = std::move(bytes);
    }
    std::vector<MarkupPart> result;
    for (auto& [name, pieces] : parts) {
        std::string bytes;
        for (auto& [index, content] : pieces)
            bytes += content;
        result.push_back({"/" + name, std::move(bytes)});
    }
    return result;
}

// The canonical form (C14N 1.0) of a document, or the reason it does not parse.
std::string Canonical(const std::string& bytes, const std::string& name)
{
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), name.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR),
        xmlFreeDoc);
    if (!doc)
        return "not well-formed: " + name;
    xmlChar* canonical = nullptr;
    const int size = xmlC14NDocDumpMemory(doc.get(), nullptr, XML_C14N_1_0, nullptr, 0, &canonical);
    if (size < 0)
        return "no canonical form: " + name;
    std::string result(reinterpret_cast<const char*>(canonical), static_cast<std::size_t>(size));
    xmlFree(canonical);
    return result;
}

// Copies markup through ParsePartMarkup and the copying rules; fails the test on a parse error.
std::string CopyMarkup(const MarkupPart& part)
{
    auto sink = Make<CMemorySink>();
    auto source = Make<CMemoryPart>(part.bytes, part.name);
    std::string error;
    {
        auto copier = Make<CMarkupCopier>(static_cast<IPrintWriteStream*>(sink.Get()));
        EXPECT_EQ(ParsePartMarkup(source.Get(), copier.Get(), &error), S_OK) << error;
    }
    return sink->bytes;
}

void ExpectSameTree(const MarkupPart& part)
{
    const std::string copy = CopyMarkup(part);
    EXPECT_TRUE(copy.starts_with(R"(<?xml version="1.0" encoding="utf-8"?>)")) << part.name;
    const std::string expected = Canonical(part.bytes, part.name);
    ASSERT_TRUE(expected.starts_with("<")) << expected;
    EXPECT_EQ(Canonical(copy, part.name + " (copy)"), expected) << part.name;
}

class CorpusCopyTest : public ::testing::TestWithParam<std::filesystem::path> {
protected:
    void TearDown() override { EXPECT_EQ(ModuleLiveObjectCount(), 0); }
};

TEST_P(CorpusCopyTest, CopiedMarkupIsTheSameTree)
{
    const std::vector<MarkupPart> parts = ReadMarkupParts(GetParam());
    ASSERT_FALSE(parts.empty()) << GetParam();
    for (const MarkupPart& part : parts) {
        SCOPED_TRACE(part.name);
        ExpectSameTree(part);
    }
}

std::vector<std::filesystem::path> CorpusPackages()
{
    std::vector<std::filesystem::path> packages;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus))
        if (entry.path().extension() == ".xps" || entry.path().extension() == ".oxps")
            packages.push_back(entry.path());
    std::sort(packages.begin(), packages.end());
    return packages;
}

std::string PackageTestName(const ::testing::TestParamInfo<std::filesystem::path>& package)
{
    std::string name = package.param.stem().string();
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name + "_" + std::to_string(package.index);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusCopyTest, ::testing::ValuesIn(CorpusPackages()), PackageTestName);

TEST(MarkupCopy, SpecialCharactersSurviveTheCopy)
{
    const MarkupPart page{"/Documents/1/Pages/1.fpage",
                          R"(<?xml version="1.0" encoding="utf-8"?>)"
                          R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" xmlns:x="http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key" Width="816" Height="1056" xml:lang="en-US">)"
                          R"(<Canvas.Resources><ResourceDictionary><SolidColorBrush x:Key="b&amp;w" Color="#FF000000"/></ResourceDictionary></Canvas.Resources>)"
                          R"(<Glyphs UnicodeString="if a &lt; b &amp;&amp; c &gt; d then &quot;e&quot; or 'f' &amp;amp;" Fill="{StaticResource b&amp;w}" Name='q"uote' OriginX="1" OriginY="2" FontRenderingEmSize="12" FontUri="/f.ttf"/>)"
                          "<Path Data=\"M 0,0&#10;L 1,1&#9;Z&#13;\" Fill=\"#FF000000\"/>"
                          R"(<Canvas>text &lt;&amp;&gt; "here" <![CDATA[<&>]]>&#x1F600;</Canvas>)"
                          "</FixedPage>"};
    ExpectSameTree(page);
}

}  // namespace
