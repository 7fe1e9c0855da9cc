// Documents made to read local files, exhaust memory or the stack, or written in an encoding that
// cannot be read: every reader (DOM, SAX, tree parse) refuses them with a failure result and never
// shows what lies outside the document.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/com/ComPtr.h"
#include "platform/xml/Sax.h"
#include "platform/xml/XmlDocument.h"
#include "platform/xml/XmlTree.h"
#include "tests/xml/RecordingHandler.h"
#include "tests/xml/TestStreams.h"

namespace {

constexpr char kSecret[] = "s3cret-from-outside";
const HRESULT kInvalidData = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

// A local file holding the secret, removed after the test.
class SecretFile {
public:
    explicit SecretFile(const std::string& content)
    {
        char name[] = "/tmp/xmlsecretXXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(static_cast<ssize_t>(content.size()), write(fd, content.data(), content.size()));
        close(fd);
        path_ = name;
    }
    ~SecretFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string Nested(int depth)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(depth) * 7);
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

std::string BillionLaughs()
{
    std::string text = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    std::string previous = "lol";
    for (int level = 1; level <= 9; ++level) {
        const std::string name = "lol" + std::to_string(level);
        text += "<!ENTITY " + name + " \"";
        for (int i = 0; i < 10; ++i)
            text += "&" + previous + ";";
        text += "\">";
        previous = name;
    }
    return text + "]><lolz a=\"&" + previous + ";\">&" + previous + ";</lolz>";
}

std::string QuadraticBlowup()
{
    const std::string big(100000, 'x');
    std::string body;
    for (int i = 0; i < 100000; ++i)
        body += "&big;";
    return "<!DOCTYPE r [<!ENTITY big \"" + big + "\">]><r>" + body + "</r>";
}

struct HostileCase {
    const char* name;
    std::string text;
};

std::vector<HostileCase> Cases(const SecretFile& secret, const SecretFile& dtd)
{
    const std::string url = "file://" + secret.Path();
    return {
        {"external general entity", "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + url + "\">]><r>&e;</r>"},
        {"external entity by path", "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + secret.Path() + "\">]><r a=\"x\">&e;</r>"},
        {"external parameter entity", "<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + url + "\"> %p;]><r/>"},
        {"external subset declaring the entity", "<!DOCTYPE r SYSTEM \"" + dtd.Path() + "\"><r>&e;</r>"},
        {"network entity", "<!DOCTYPE r [<!ENTITY e SYSTEM \"http://127.0.0.1:9/x\">]><r>&e;</r>"},
        {"nesting 100000 levels", Nested(100000)},
        {"nesting one level too deep", Nested(257)},
        {"billion laughs", BillionLaughs()},
        {"quadratic blowup", QuadraticBlowup()},
        // Found by fuzzing: the parser stopped on these without calling the markup ill-formed.
        {"UCS-4 in a byte order the parser cannot read", std::string("\0<\0\0", 4) + std::string(64, '\0')},
        {"UCS-4 that does not decode",
         std::string("<\0\0\0", 4) + std::string(5, '\0') +
             "e Width=\"816\" Height=\"1056\" xmlns=\"http://schemas.microsoft.com/xps/2005/06\"/>"},
    };
}

class HostileInputTest : public ::testing::Test {
protected:
    SecretFile secret_{kSecret};
    SecretFile dtd_{"<!ENTITY e SYSTEM \"file://" + secret_.Path() + "\">"};
};

TEST_F(HostileInputTest, DomRefusesCleanly)
{
    ComPtr<CXmlDocument> doc;
    ASSERT_EQ(S_OK, CXmlDocument::Create(doc.Put()));
    for (const HostileCase& c : Cases(secret_, dtd_)) {
        CTestStream stream(c.text, 4096);
        EXPECT_EQ(kInvalidData, doc->Load(&stream)) << c.name;
        EXPECT_FALSE(doc->ParseError().empty()) << c.name;
        EXPECT_FALSE(doc->DocumentElement()) << c.name;
    }
}

TEST_F(HostileInputTest, SaxRefusesCleanlyAndShowsNothingFromOutside)
{
    for (const HostileCase& c : Cases(secret_, dtd_)) {
        CTestStream stream(c.text, 4096);
        CRecordingHandler handler;
        std::string message;
        EXPECT_EQ(kInvalidData, ParseSax(&stream, &handler, &message)) << c.name;
        EXPECT_EQ(0u, message.rfind("line ", 0)) << c.name << ": " << message;
        EXPECT_EQ(std::string::npos, handler.Events().find(kSecret)) << c.name;
    }
}

TEST_F(HostileInputTest, TreeParseRefusesCleanly)
{
    for (const HostileCase& c : Cases(secret_, dtd_)) {
        std::string error;
        EXPECT_FALSE(ParseXmlTree(c.text, &error)) << c.name;
        EXPECT_EQ(0u, error.rfind("line ", 0)) << c.name << ": " << error;
        EXPECT_EQ(std::string::npos, error.find(kSecret)) << c.name;
    }
}

// Package parts and tickets may carry no document type declaration, not even a harmless one; the
// DOM and SAX readers read an internal subset for its entities.
TEST(DocumentTypeDeclaration, IsRefusedWhereNoneIsAllowed)
{
    const std::string text = "<!DOCTYPE r [<!ENTITY e \"expanded\">]><r>&e;</r>";
    CTestStream readable(text);
    CRecordingHandler reader;
    EXPECT_EQ(S_OK, ParseSax(&readable, &reader));
    EXPECT_NE(std::string::npos, reader.Events().find("expanded"));

    CTestStream refused(text);
    CRecordingHandler refuser;
    std::string message;
    EXPECT_EQ(kInvalidData, ParseSax(&refused, &refuser, XmlDocumentType::kRefused, &message));
    EXPECT_EQ(0u, message.rfind("line 1, column ", 0)) << message;
    EXPECT_NE(std::string::npos, message.find("a document type declaration is not allowed")) << message;
    EXPECT_EQ(std::string::npos, refuser.Events().find("expanded"));

    std::string error;
    EXPECT_FALSE(ParseXmlTree(text, &error));
    EXPECT_EQ(message, error);
    EXPECT_FALSE(ParseXmlTree("<!DOCTYPE r SYSTEM \"r.dtd\"><r/>", &error));
    EXPECT_NE(std::string::npos, error.find("document type declaration")) << error;
}

TEST(XmlTree, AWellFormedDocumentIsATree)
{
    std::string error = "stale";
    const XmlDocHolder doc = ParseXmlTree("<r xmlns=\"urn:x\"><s a=\"1\"/></r>", &error);
    ASSERT_TRUE(doc) << error;
    EXPECT_TRUE(error.empty());
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("r", reinterpret_cast<const char*>(root->name));
    EXPECT_FALSE(ParseXmlTree("<r><s></r>", &error));
    EXPECT_EQ(0u, error.rfind("line 1, column ", 0)) << error;
    EXPECT_FALSE(ParseXmlTree("", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(HostileInputTest, NestingWithinTheLimitIsRead)
{
    ComPtr<CXmlDocument> doc;
    ASSERT_EQ(S_OK, CXmlDocument::Create(doc.Put()));
    EXPECT_EQ(S_OK, doc->LoadXml(Nested(256))) << doc->ParseError();
    CTestStream stream(Nested(256));
    CRecordingHandler handler;
    EXPECT_EQ(S_OK, ParseSax(&stream, &handler));
    std::string error;
    EXPECT_TRUE(ParseXmlTree(Nested(256), &error)) << error;
}

} // namespace
