// Documents made to read local files, exhaust memory or the stack: both readers refuse them with a
// failure result and never show what lies outside the document.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/com/ComPtr.h"
#include "platform/xml/Sax.h"
#include "platform/xml/XmlDocument.h"
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

TEST_F(HostileInputTest, NestingWithinTheLimitIsRead)
{
    ComPtr<CXmlDocument> doc;
    ASSERT_EQ(S_OK, CXmlDocument::Create(doc.Put()));
    EXPECT_EQ(S_OK, doc->LoadXml(Nested(256))) << doc->ParseError();
    CTestStream stream(Nested(256));
    CRecordingHandler handler;
    EXPECT_EQ(S_OK, ParseSax(&stream, &handler));
}

} // namespace
