#pragma once
// Small tickets for the query and record tests: a root with chosen namespace declarations around
// an inline body, loaded into a DOM.
#include <gtest/gtest.h>

#include <string>

#include "framework/TicketDocument.h"
#include "platform/com/ComPtr.h"
#include "platform/printticket/PrintSchemaNames.h"
#include "platform/printticket/PrintTicketProvider.h"
#include "platform/xml/XmlDocument.h"

// The usual declarations of a ticket, the private namespace under the prefix "drv".
inline std::string StandardDeclarations()
{
    return std::string("xmlns:psf=\"") + printschema::kFrameworkNs + "\" xmlns:psk=\"" + printschema::kKeywordsNs +
           "\" xmlns:xsi=\"" + printschema::kXsiNs + "\" xmlns:xsd=\"" + printschema::kXsdNs + "\" xmlns:drv=\"" +
           kPrivateKeywordNamespace + "\"";
}

inline std::string TicketText(const std::string& body, const std::string& declarations = StandardDeclarations(),
                              const std::string& root = "psf:PrintTicket")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + " " + declarations + " version=\"1\">" + body +
           "</" + root + ">";
}

inline ComPtr<CXmlDocument> LoadDom(const std::string& text)
{
    ComPtr<CXmlDocument> dom;
    EXPECT_EQ(S_OK, CXmlDocument::Create(dom.Put()));
    EXPECT_EQ(S_OK, dom->LoadXml(text)) << dom->ParseError();
    return dom;
}

// Checks after each test that no DOM is left alive.
class TicketTest : public ::testing::Test {
protected:
    void SetUp() override { live_ = CXmlDocument::LiveCount(); }
    void TearDown() override { EXPECT_EQ(live_, CXmlDocument::LiveCount()); }

private:
    long live_ = 0;
};
