#include <gtest/gtest.h>

#include "host/package/FontObfuscation.h"
#include "host/package/PackageReader.h"
#include "tests/package/PackageTestSupport.h"

namespace {

TEST(FontObfuscation, KeyComesFromTheGuidFileName)
{
    const auto key = FontObfuscationKeyOf("/Resources/{00112233-4455-6677-8899-AABBCCDDEEFF}.odttf");
    ASSERT_TRUE(key);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ((*key)[i], i * 0x11);
    EXPECT_TRUE(FontObfuscationKeyOf("/f/0A8C58F0-2CC8-4969-9037-9DAAD03F8ABC.odttf"));
    EXPECT_FALSE(FontObfuscationKeyOf("/f/Arial.ttf"));
    EXPECT_FALSE(FontObfuscationKeyOf("/f/0A8C58F0-2CC8-4969-9037.odttf"));
}

TEST(FontObfuscation, OnlyTheFirst32BytesChangeAndTwiceRestores)
{
    const auto key = FontObfuscationKeyOf("/00112233-4455-6677-8899-AABBCCDDEEFF.odttf");
    ASSERT_TRUE(key);
    std::uint8_t data[40] = {};
    ApplyFontObfuscation(*key, 0, data, 10);        // in two pieces, as a stream reads
    ApplyFontObfuscation(*key, 10, data + 10, 30);
    EXPECT_EQ(data[0], 0xFF);   // key[15]
    EXPECT_EQ(data[15], 0x00);  // key[0]
    EXPECT_EQ(data[16], 0xFF);
    EXPECT_EQ(data[31], 0x00);
    EXPECT_EQ(data[32], 0);
    ApplyFontObfuscation(*key, 0, data, 40);
    for (std::uint8_t b : data)
        EXPECT_EQ(b, 0);
}

// The fonts of a real OpenXPS package are obfuscated; read through the reader they are fonts again.
TEST(FontObfuscation, ObfuscatedFontsOfARealPackageReadAsPlainFonts)
{
    ComPtr<IXpsDocumentProvider> provider;
    PackageError error;
    ASSERT_EQ(OpenXpsPackage(CorpusDir() + "/xps/groupdocs-conversion-sample.oxps", &provider, &error), S_OK) << error.Text();
    HRESULT result = E_FAIL;
    const auto parts = DrainProvider(provider.Get(), &result);
    ASSERT_EQ(result, S_OK);
    int fonts = 0;
    for (const auto& yielded : parts) {
        ComPtr<IFixedPage> page;
        if (FAILED(QueryTo(yielded.part.Get(), &page)))
            continue;
        ComPtr<IXpsPartIterator> iterator;
        ASSERT_EQ(page->GetXpsPartIterator(iterator.Put()), S_OK);
        for (; !iterator->IsDone(); iterator->Next()) {
            std::string uri;
            ComPtr<IUnknown> resource;
            ASSERT_EQ(iterator->Current(&uri, resource.Put()), S_OK);
            ComPtr<IPartFont> font;
            if (FAILED(QueryTo(resource.Get(), &font)))
                continue;
            std::string type;
            EXpsFontOptions options = Font_Normal;
            ASSERT_EQ(font->GetFontProperties(&type, &options), S_OK);
            EXPECT_EQ(options, Font_Obfusticate) << uri;
            const std::string bytes = PartContent(font.Get());
            ASSERT_GE(bytes.size(), 4u);
            const std::string tag = bytes.substr(0, 4);
            EXPECT_TRUE(tag == std::string("\0\1\0\0", 4) || tag == "OTTO" || tag == "true") << uri;
            ++fonts;
        }
    }
    EXPECT_GT(fonts, 0);
}

} // namespace
