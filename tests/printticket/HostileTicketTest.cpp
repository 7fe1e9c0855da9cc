// Tickets built to attack the parser are refused cleanly, and nothing outside them is read.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/printticket/TicketTestSupport.h"

using namespace pttest;

namespace {

class SecretFile {
public:
    SecretFile()
    {
        char name[] = "/tmp/printticket-secretXXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        const std::string secret = "TOP-SECRET-7d1e";
        EXPECT_EQ(write(fd, secret.data(), secret.size()), static_cast<ssize_t>(secret.size()));
        close(fd);
        path_ = name;
    }
    ~SecretFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }
    static constexpr char kSecret[] = "TOP-SECRET-7d1e";

private:
    std::string path_;
};

std::string WithDoctype(const std::string& doctype, const std::string& body)
{
    std::string ticket = Ticket(body);
    const auto root = ticket.find("<psf:PrintTicket");
    return ticket.substr(0, root) + doctype + "\n" + ticket.substr(root);
}

struct HostileCase {
    const char* name;
    std::string (*make)(const std::string& secretPath);
};

class HostileTickets : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileTickets, AreRefusedWithoutReadingTheFile)
{
    const SecretFile secret;
    const std::string ticket = GetParam().make(secret.Path());
    for (const std::string& delta : {ticket}) {
        const CallResult merged = Merge(kDefaultPrinterName, Ticket(""), delta);
        EXPECT_EQ(merged.hr, HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
        EXPECT_NE(merged.message.find("document type declaration"), std::string::npos) << merged.message;
        EXPECT_EQ(merged.message.find(SecretFile::kSecret), std::string::npos);
        EXPECT_TRUE(merged.text.empty());
    }
    const CallResult caps = Capabilities(kDefaultPrinterName, ticket);
    EXPECT_TRUE(FAILED(caps.hr));
    EXPECT_EQ(caps.text.find(SecretFile::kSecret), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileTickets,
    ::testing::Values(
        HostileCase{"ExternalGeneralEntity",
                    [](const std::string& path) {
                        return WithDoctype("<!DOCTYPE psf:PrintTicket [<!ENTITY secret SYSTEM \"file://" + path + "\">]>",
                                           "<psf:Property name=\"xc:Leak\"><psf:Value xsi:type=\"xsd:string\">&secret;</psf:Value></psf:Property>");
                    }},
        HostileCase{"ExternalParameterEntity",
                    [](const std::string& path) {
                        return WithDoctype("<!DOCTYPE psf:PrintTicket [<!ENTITY % secret SYSTEM \"" + path + "\"> %secret;]>", "");
                    }},
        HostileCase{"ExternalSubset",
                    [](const std::string& path) { return WithDoctype("<!DOCTYPE psf:PrintTicket SYSTEM \"" + path + "\">", ""); }},
        HostileCase{"EntityExpansion",
                    [](const std::string&) {
                        std::string doctype = "<!DOCTYPE psf:PrintTicket [<!ENTITY a0 \"lol\">";
                        for (int i = 1; i < 12; ++i)
                            doctype += "<!ENTITY a" + std::to_string(i) + " \"" + std::string(10, '&') + "\">";
                        for (int i = 1; i < 12; ++i) {
                            std::string refs;
                            for (int j = 0; j < 10; ++j)
                                refs += "&a" + std::to_string(i - 1) + ";";
                            const std::string placeholder = std::string(10, '&');
                            doctype.replace(doctype.find(placeholder), placeholder.size(), refs);
                        }
                        return WithDoctype(doctype + "]>", "<psf:Property name=\"xc:Boom\"><psf:Value>&a11;</psf:Value></psf:Property>");
                    }}),
    [](const ::testing::TestParamInfo<HostileCase>& row) { return std::string(row.param.name); });

TEST(HostileTickets, DeepNestingFailsCleanly)
{
    constexpr int kDepth = 100000;
    std::string body;
    body.reserve(kDepth * 40);
    for (int i = 0; i < kDepth; ++i)
        body += "<psf:Property name=\"xc:P\">";
    for (int i = 0; i < kDepth; ++i)
        body += "</psf:Property>";
    const CallResult merged = Merge(kDefaultPrinterName, Ticket(""), Ticket(body));
    EXPECT_EQ(merged.hr, HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_NE(merged.message.find("line"), std::string::npos) << merged.message;
    EXPECT_TRUE(merged.text.empty());
}

TEST(HostileTickets, NestingWithinTheLimitIsAccepted)
{
    std::string body = "<psf:Property name=\"xc:Outer\">";
    for (int i = 0; i < 100; ++i)
        body += "<psf:Property name=\"xc:P\">";
    for (int i = 0; i < 100; ++i)
        body += "</psf:Property>";
    body += "</psf:Property>";
    const CallResult merged = Merge(kDefaultPrinterName, Ticket(""), Ticket(body));
    EXPECT_EQ(merged.hr, S_OK) << merged.message;
    EXPECT_EQ(XPath(merged.text, "count(//psf:Property[@name='xc:P'])"), "100");
}

TEST(HostileTickets, MarkupInValuesIsWrittenEscaped)
{
    const CallResult merged = Merge(kDefaultPrinterName, Ticket(""), Ticket(R"(
        <psf:Property name="xc:Note"><psf:Value xsi:type="xsd:string">a &lt;b&gt; &amp; "c"</psf:Value></psf:Property>)"));
    ASSERT_EQ(merged.hr, S_OK) << merged.message;
    EXPECT_EQ(XPath(merged.text, "//psf:Property[@name='xc:Note']/psf:Value"), "a <b> & \"c\"");
}

} // namespace
