#include <gtest/gtest.h>

#include "platform/com/ComPtr.h"
#include "platform/xml/XmlDocument.h"
#include "tests/xml/TestStreams.h"

namespace {

constexpr char kPsf[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
constexpr char kPsk[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";

const std::string kTicket = std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<psf:PrintTicket xmlns:psf=")") + kPsf + R"(" xmlns:psk=")" + kPsk + R"(" version="1">
  <psf:Feature name="psk:PageMediaSize">
    <psf:Option name="psk:ISOA4">
      <psf:ScoredProperty name="psk:MediaSizeWidth"><psf:Value>  210000 </psf:Value></psf:ScoredProperty>
    </psf:Option>
  </psf:Feature>
  <psf:Feature name="psk:PageOrientation"><psf:Option name="psk:Landscape"/></psf:Feature>
</psf:PrintTicket>
)";

class XmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        live_ = CXmlDocument::LiveCount();
        ASSERT_EQ(S_OK, CXmlDocument::Create(doc_.Put()));
    }
    void TearDown() override
    {
        doc_ = nullptr;
        EXPECT_EQ(live_, CXmlDocument::LiveCount());
    }
    void LoadTicket()
    {
        ASSERT_EQ(S_OK, doc_->LoadXml(kTicket)) << doc_->ParseError();
        ASSERT_EQ(S_OK, doc_->SetSelectionNamespaces({{"psf", kPsf}}));
    }
    XmlNode Select(const std::string& xpath)
    {
        XmlNode node;
        EXPECT_EQ(S_OK, doc_->SelectSingleNode(xpath, &node)) << xpath;
        return node;
    }

    long live_ = 0;
    ComPtr<CXmlDocument> doc_;
};

TEST_F(XmlDocumentTest, SelectsWithTheSelectionPrefixesNotTheDocumentOnes)
{
    LoadTicket();
    XmlNode option = Select(R"(//psf:Feature[@name = "psk:PageMediaSize"]/psf:Option)");
    EXPECT_EQ("psf:Option", option.QualifiedName());
    EXPECT_EQ("Option", option.LocalName());
    EXPECT_EQ(kPsf, option.NamespaceUri());
    std::string name;
    ASSERT_TRUE(option.GetAttribute("name", &name));
    EXPECT_EQ("psk:ISOA4", name);

    // The same elements under another expression prefix.
    ASSERT_EQ(S_OK, doc_->SetSelectionNamespaces({{"ns0000", kPsf}}));
    std::vector<XmlNode> features;
    ASSERT_EQ(S_OK, doc_->SelectNodes("//ns0000:Feature", &features));
    EXPECT_EQ(2u, features.size());
    XmlNode none;
    EXPECT_EQ(E_INVALIDARG, doc_->SelectSingleNode("//psf:Feature", &none)) << "the map was replaced";
    EXPECT_FALSE(none);
}

TEST_F(XmlDocumentTest, SelectsRelativeToANodeAndGivesTrimmedText)
{
    LoadTicket();
    XmlNode feature = Select(R"(//psf:Feature[@name = "psk:PageMediaSize"])");
    XmlNode value;
    ASSERT_EQ(S_OK, doc_->SelectSingleNode(feature, "psf:Option/psf:ScoredProperty/psf:Value", &value));
    EXPECT_EQ("210000", value.Text());
    EXPECT_EQ("210000", value.TypedValueText());
    EXPECT_EQ(S_FALSE, doc_->SelectSingleNode(feature, "psf:Value", &value));
    EXPECT_EQ(E_INVALIDARG, doc_->SelectSingleNode("//psf:[", &value));
    EXPECT_EQ(E_INVALIDARG, doc_->SelectSingleNode("//undeclared:Feature", &value));
    std::vector<XmlNode> names;
    ASSERT_EQ(S_OK, doc_->SelectNodes("//psf:Option/@name", &names));
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ(XmlNodeType::kAttribute, names[1].Type());
    EXPECT_EQ("psk:Landscape", names[1].Text());
    EXPECT_EQ("Feature", names[1].Parent().Parent().LocalName());
}

TEST_F(XmlDocumentTest, AttributesListDeclarationsFirstThenAttributesInOrder)
{
    ASSERT_EQ(S_OK, doc_->LoadXml(R"(<r z="1" xmlns:b="urn:b" a="2" b:c="3" xmlns="urn:d"/>)"));
    const auto attributes = doc_->DocumentElement().Attributes();
    ASSERT_EQ(5u, attributes.size());
    const char* expected[][4] = {
        {"xmlns:b", "b", "http://www.w3.org/2000/xmlns/", "urn:b"},
        {"xmlns", "xmlns", "http://www.w3.org/2000/xmlns/", "urn:d"},
        {"z", "z", "", "1"},
        {"a", "a", "", "2"},
        {"b:c", "c", "urn:b", "3"},
    };
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        EXPECT_EQ(expected[i][0], attributes[i].qualifiedName);
        EXPECT_EQ(expected[i][1], attributes[i].localName);
        EXPECT_EQ(expected[i][2], attributes[i].namespaceUri);
        EXPECT_EQ(expected[i][3], attributes[i].value);
    }
    std::string value;
    EXPECT_TRUE(doc_->DocumentElement().GetAttribute("xmlns:b", &value));
    EXPECT_EQ("urn:b", value);
    EXPECT_FALSE(doc_->DocumentElement().GetAttribute("c", &value));
}

TEST_F(XmlDocumentTest, BuildsElementsThatSaveWithoutRedundantDeclarations)
{
    LoadTicket();
    XmlNode feature, option, value;
    ASSERT_EQ(S_OK, doc_->CreateElement("psf:Feature", kPsf, &feature));
    ASSERT_EQ(S_OK, doc_->SetAttribute(feature, "name", "", "psk:JobCopies"));
    ASSERT_EQ(S_OK, doc_->CreateElement("psf:Value", kPsf, &value));
    ASSERT_EQ(S_OK, doc_->SetAttribute(value, "xsi:type", "http://www.w3.org/2001/XMLSchema-instance", "xsd:integer"));
    ASSERT_EQ(S_OK, doc_->SetText(value, "2 & <3>"));
    ASSERT_EQ(S_OK, doc_->AppendChild(feature, value));
    ASSERT_EQ(S_OK, doc_->AppendChild(doc_->DocumentElement(), feature));
    // An element made and dropped is freed with the document.
    ASSERT_EQ(S_OK, doc_->CreateElement("psf:Option", kPsf, &option));

    std::string text;
    ASSERT_EQ(S_OK, doc_->Save(&text));
    EXPECT_NE(std::string::npos,
              text.find(R"(<psf:Feature name="psk:JobCopies"><psf:Value xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" )"
                        R"(xsi:type="xsd:integer">2 &amp; &lt;3&gt;</psf:Value></psf:Feature>)"))
        << text;
    EXPECT_EQ("2 & <3>", Select(R"(//psf:Feature[@name = "psk:JobCopies"]/psf:Value)").Text());
}

TEST_F(XmlDocumentTest, BuildsADocumentFromNothing)
{
    XmlNode root, first, second;
    ASSERT_EQ(S_OK, doc_->CreateElement("p:Root", "urn:p", &root));
    ASSERT_EQ(S_OK, doc_->AppendRoot(root));
    EXPECT_EQ(E_INVALIDARG, doc_->AppendRoot(root)) << "one root only";
    ASSERT_EQ(S_OK, doc_->CreateElement("p:A", "urn:p", &first));
    ASSERT_EQ(S_OK, doc_->CreateElement("B", "", &second));
    ASSERT_EQ(S_OK, doc_->AppendChild(root, first));
    ASSERT_EQ(S_OK, doc_->AppendChild(root, second));
    const auto children = doc_->DocumentElement().ChildElements();
    ASSERT_EQ(2u, children.size());
    EXPECT_EQ("p:A", children[0].QualifiedName());
    EXPECT_EQ("B", children[1].QualifiedName());
    std::string text;
    ASSERT_EQ(S_OK, doc_->Save(&text));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<p:Root xmlns:p=\"urn:p\"><p:A/><B/></p:Root>\n", text);
}

TEST_F(XmlDocumentTest, RemovesAttachedNodesOnly)
{
    LoadTicket();
    XmlNode loose;
    ASSERT_EQ(S_OK, doc_->CreateElement("psf:Feature", kPsf, &loose));
    EXPECT_EQ(S_FALSE, doc_->RemoveNode(loose));
    EXPECT_EQ(S_OK, doc_->RemoveNode(Select(R"(//psf:Feature[@name = "psk:PageMediaSize"])")));
    std::vector<XmlNode> left;
    ASSERT_EQ(S_OK, doc_->SelectNodes("//psf:Feature", &left));
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(S_OK, doc_->RemoveNode(Select("//psf:Option/@name")));
    std::string name;
    EXPECT_FALSE(Select("//psf:Option").GetAttribute("name", &name));
}

TEST_F(XmlDocumentTest, RefusesNodesOfAnotherDocumentAndCycles)
{
    LoadTicket();
    ComPtr<CXmlDocument> other;
    ASSERT_EQ(S_OK, CXmlDocument::Create(other.Put()));
    XmlNode foreign;
    ASSERT_EQ(S_OK, other->CreateElement("x", "", &foreign));
    XmlNode root = doc_->DocumentElement();
    EXPECT_EQ(E_INVALIDARG, doc_->AppendChild(root, foreign));
    EXPECT_EQ(E_INVALIDARG, doc_->AppendChild(Select("//psf:Option"), root));
    EXPECT_EQ(E_INVALIDARG, doc_->CreateElement("p:x", "", &foreign));
}

TEST_F(XmlDocumentTest, StreamAndCloneAreCopies)
{
    LoadTicket();
    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, doc_->GetStream(stream.Put()));
    std::string bytes(64, '\0');
    ULONG read = 0;
    ASSERT_EQ(S_OK, stream->Read(bytes.data(), 38, &read));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", bytes.substr(0, read));

    ComPtr<CXmlDocument> copy;
    ASSERT_EQ(S_OK, doc_->Clone(copy.Put()));
    EXPECT_EQ(S_OK, doc_->RemoveNode(Select("//psf:Feature")));
    std::vector<XmlNode> features;
    ASSERT_EQ(S_OK, copy->SelectNodes("//psf:Feature", &features)) << "selection namespaces travel with the copy";
    EXPECT_EQ(2u, features.size());

    ComPtr<CXmlDocument> reloaded;
    ASSERT_EQ(S_OK, CXmlDocument::Create(reloaded.Put()));
    ASSERT_EQ(S_OK, stream->Seek(0, STREAM_SEEK_SET, nullptr));
    ASSERT_EQ(S_OK, reloaded->Load(stream.Get()));
    ASSERT_EQ(S_OK, reloaded->SetSelectionNamespaces({{"psf", kPsf}}));
    ASSERT_EQ(S_OK, reloaded->SelectNodes("//psf:Feature", &features));
    EXPECT_EQ(2u, features.size()) << "the stream was taken before the removal";
}

TEST_F(XmlDocumentTest, LoadsFromAStreamInSmallPiecesAndInUtf16)
{
    const std::string body = R"(<a xmlns="urn:a"><b k="v">t&#x41;</b></a>)";
    const std::string text = R"(<?xml version="1.0" encoding="UTF-16"?>)" + body;
    struct Case {
        std::string bytes;
        ULONG perRead;
    } cases[] = {
        {R"(<?xml version="1.0" encoding="UTF-8"?>)" + body, 1},
        {Utf16Bytes(text, false), 1},
        {Utf16Bytes(text, true), 3},
        {Utf16Bytes(text, false), 1 << 20},
    };
    for (const Case& c : cases) {
        CTestStream stream(c.bytes, c.perRead);
        ASSERT_EQ(S_OK, doc_->Load(&stream)) << doc_->ParseError();
        ASSERT_EQ(S_OK, doc_->SetSelectionNamespaces({{"a", "urn:a"}}));
        XmlNode b = Select("/a:a/a:b");
        EXPECT_EQ("tA", b.Text());
        std::string k;
        EXPECT_TRUE(b.GetAttribute("k", &k));
        EXPECT_EQ("v", k);
    }
}

TEST_F(XmlDocumentTest, ParseFailureLeavesAnEmptyDocumentAndALineNumber)
{
    LoadTicket();
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), doc_->LoadXml("<a>\n<b>\n</a>"));
    EXPECT_EQ(0u, doc_->ParseError().rfind("line 3, column ", 0)) << doc_->ParseError();
    EXPECT_EQ(std::string::npos, doc_->ParseError().find('\n'));
    EXPECT_FALSE(doc_->DocumentElement());
    std::string text;
    EXPECT_EQ(E_PENDING, doc_->Save(&text));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), doc_->LoadXml(""));

    CTestStream failing(kTicket, 100, 200, E_ACCESSDENIED);
    EXPECT_EQ(E_ACCESSDENIED, doc_->Load(&failing));
    EXPECT_EQ(S_OK, doc_->LoadXml(kTicket));
    EXPECT_TRUE(doc_->ParseError().empty());
}

} // namespace
