// Every FixedPage and resource dictionary of the corpus, copied through the copying rules,
// re-parses as well-formed XML equal to its input as an XML tree (compared canonicalised).
#include <gtest/gtest.h>
#include <libxml/c14n.h>
#include <libxml/parser.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "framework/MarkupCopier.h"
#include "framework/PartMarkup.h"
#include "tests/markup/MarkupFakes.h"
#include "tests/support/TestPackages.h"

namespace {

using markup_test::CMemoryPart;
using markup_test::CMemorySink;
using markup_test::Make;

struct MarkupPart {
    std::string name;
    std::string bytes;
};

// The FixedPage and resource dictionary parts of a package.
std::vector<MarkupPart> ReadMarkupParts(const std::filesystem::path& package)
{
    std::vector<MarkupPart> result;
    for (auto& [name, bytes] : ReadPackageParts(package)) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower.ends_with(".fpage") || lower.ends_with(".dict"))
            result.push_back({name, std::move(bytes)});
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

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusCopyTest, ::testing::ValuesIn(CorpusPackages()), CorpusTestName);

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
