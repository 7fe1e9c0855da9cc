#include <gtest/gtest.h>

#include "host/package/PartName.h"

namespace {

struct ZipNameCase {
    const char* entry;
    const char* part;  // null: refused
};

TEST(PartName, ZipEntriesInsideThePackageOnly)
{
    const ZipNameCase cases[] = {
        {"Documents/1/Pages/1.fpage", "/Documents/1/Pages/1.fpage"},
        {"[Content_Types].xml", "/[Content_Types].xml"},
        {"../evil.fpage", nullptr},
        {"Documents/../../evil", nullptr},
        {"Documents/./1.fpage", nullptr},
        {"/etc/passwd", nullptr},
        {"Documents\\1.fpage", nullptr},
        {"C:/x.fpage", nullptr},
        {"Documents//1.fpage", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto part = part_name::FromZipEntry(c.entry);
        if (c.part)
            EXPECT_EQ(part.value_or("<refused>"), c.part) << c.entry;
        else
            EXPECT_FALSE(part) << c.entry;
    }
}

struct ResolveCase {
    const char* base;
    const char* reference;
    const char* resolved;  // null: no part
};

TEST(PartName, ReferencesResolveAgainstTheirPart)
{
    const ResolveCase cases[] = {
        {"/Documents/1/Pages/1.fpage", "../Resources/a.ttf", "/Documents/1/Resources/a.ttf"},
        {"/Documents/1/Pages/1.fpage", "/Resources/a.ttf", "/Resources/a.ttf"},
        {"/Documents/1/Pages/1.fpage", "img.png#frag", "/Documents/1/Pages/img.png"},
        {"/Documents/1/Pages/1.fpage", "./x/../y.png", "/Documents/1/Pages/y.png"},
        {"/", "FixedDocumentSequence.fdseq", "/FixedDocumentSequence.fdseq"},
        {"/a.fpage", "../../x.png", nullptr},
        {"/a.fpage", "http://example.com/x.png", nullptr},
        {"/a.fpage", "  ", nullptr},
    };
    for (const auto& c : cases) {
        const auto resolved = part_name::Resolve(c.base, c.reference);
        if (c.resolved)
            EXPECT_EQ(resolved.value_or("<none>"), c.resolved) << c.base << " + " << c.reference;
        else
            EXPECT_FALSE(resolved) << c.base << " + " << c.reference;
    }
}

TEST(PartName, KeysIgnoreCaseAndPercentEncoding)
{
    EXPECT_EQ(part_name::Key("/Documents/1/Pages/A%20B.FPage"), part_name::Key("/documents/1/pages/a b.fpage"));
    EXPECT_NE(part_name::Key("/a.fpage"), part_name::Key("/b.fpage"));
}

TEST(PartName, RelationshipsPartAndExtension)
{
    EXPECT_EQ(part_name::RelationshipsOf("/Documents/1/Pages/1.fpage"), "/Documents/1/Pages/_rels/1.fpage.rels");
    EXPECT_EQ(part_name::RelationshipsOf("/"), "/_rels/.rels");
    EXPECT_EQ(part_name::Extension("/a/b.Dir/c.FPAGE"), "fpage");
    EXPECT_EQ(part_name::Extension("/a.dir/noext"), "");
}

TEST(PartName, PiecesOfInterleavedParts)
{
    const auto first = part_name::ParsePiece("/Documents/1/Pages/1.fpage/[0].piece");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->part, "/Documents/1/Pages/1.fpage");
    EXPECT_EQ(first->index, 0u);
    EXPECT_FALSE(first->last);
    const auto last = part_name::ParsePiece("/x.fpage/[12].LAST.piece");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->index, 12u);
    EXPECT_TRUE(last->last);
    EXPECT_FALSE(part_name::ParsePiece("/x.fpage/[a].piece"));
    EXPECT_FALSE(part_name::ParsePiece("/x.fpage"));
}

} // namespace
