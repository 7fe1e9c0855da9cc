#include <climits>

#include "framework/XDException.h"
#include "framework/XPathBuilder.h"
#include "tests/ticket/TicketFixtures.h"

namespace {

using namespace printschema;

std::string Declare(const char* prefix, const std::string& uri)
{
    return std::string(" xmlns") + (*prefix ? ":" : "") + prefix + "=\"" + uri + "\"";
}

class TicketDocumentTest : public TicketTest {};

TEST_F(TicketDocumentTest, FindsTheRootPrefixesTheDocumentChose)
{
    struct Case {
        const char* name;
        std::string declarations;
        const char* psf;
        const char* psk;
        const char* xsi;
        const char* xsd;
        const char* privatePrefix;
    } cases[] = {
        {"usual prefixes", " " + StandardDeclarations(), "psf:", "psk:", "xsi:", "xsd:", "drv:"},
        {"generated prefixes",
         Declare("ns0001", kFrameworkNs) + Declare("ns0000", kKeywordsNs) + Declare("ns0002", kPrivateKeywordNamespace),
         "ns0001:", "ns0000:", "", "", "ns0002:"},
        {"no private namespace", Declare("psf", kFrameworkNs) + Declare("psk", kKeywordsNs), "psf:", "psk:", "", "", ""},
        {"keywords only as default namespace", Declare("psf", kFrameworkNs) + Declare("", kKeywordsNs), "psf:", "", "",
         "", ""},
        {"private namespace with a leading space",
         Declare("psf", kFrameworkNs) + Declare("drv", std::string(" ") + kPrivateKeywordNamespace), "psf:", "", "",
         "", ""},
    };
    for (const Case& c : cases) {
        const std::string root = std::string(c.psf) + "PrintTicket";
        ComPtr<CXmlDocument> dom = LoadDom(TicketText("", c.declarations.substr(1), root));
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
        EXPECT_EQ(c.psf, ticket.psfPrefix) << c.name;
        EXPECT_EQ(c.psk, ticket.pskPrefix) << c.name;
        EXPECT_EQ(c.xsi, ticket.xsiPrefix) << c.name;
        EXPECT_EQ(c.xsd, ticket.xsdPrefix) << c.name;
        EXPECT_EQ(c.privatePrefix, ticket.privatePrefix) << c.name;
        EXPECT_EQ(*c.privatePrefix != 0, ticket.hasPrivatePrefix) << c.name;
        EXPECT_FALSE(ticket.isCapabilities);
        XmlNode rootNode;
        EXPECT_EQ(S_OK, ticket.SelectRoot(&rootNode)) << c.name;
        EXPECT_EQ(root, rootNode.QualifiedName()) << c.name;
    }
}

TEST_F(TicketDocumentTest, RefusesDocumentsItCannotQuery)
{
    struct Case {
        const char* name;
        std::string text;
        const char* rootName;
        HRESULT expected;
    } cases[] = {
        {"framework only as default namespace",
         "<PrintTicket xmlns=\"" + std::string(kFrameworkNs) + "\" version=\"1\"/>", "PrintTicket", E_FAIL},
        {"another root", TicketText(""), "PrintCapabilities", E_FAIL},
        {"framework namespace with a leading space", TicketText("", "xmlns:psf=\" " + std::string(kFrameworkNs) + "\""),
         "PrintTicket", E_FAIL},
        {"an attribute that is no declaration holds the namespace",
         "<psf:PrintTicket xmlns:psf=\"" + std::string(kFrameworkNs) + "\" a=\"" + kKeywordsNs + "\"/>", "PrintTicket",
         E_FAIL},
    };
    for (const Case& c : cases) {
        ComPtr<CXmlDocument> dom = LoadDom(c.text);
        try {
            CTicketDocument ticket(c.rootName, kPrivateKeywordNamespace, dom.Get());
            ADD_FAILURE() << c.name << " opened";
        } catch (const CXDException& e) {
            EXPECT_EQ(c.expected, e.Result()) << c.name;
        }
    }
    try {
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, nullptr);
        ADD_FAILURE() << "opened without a DOM";
    } catch (const CXDException& e) {
        EXPECT_EQ(E_PENDING, e.Result());
    }
}

TEST_F(TicketDocumentTest, BuildsTheQueryTexts)
{
    CXPathBuilder feature("psf:");
    ASSERT_EQ(S_OK, feature.AddFeature("psk:", "JobNUp"));
    ASSERT_EQ(S_OK, feature.AddFeature("drv:", "Sub"));
    ASSERT_EQ(S_OK, feature.AddOptionOrValue("psk:"));
    EXPECT_EQ(R"(//psf:Feature[@name = "psk:JobNUp"]//psf:Feature[@name = "drv:Sub"]/psf:Option | )"
              R"(//psf:Feature[@name = "psk:JobNUp"]//psf:Feature[@name = "drv:Sub"])"
              R"(/psf:ScoredProperty[@name = "psk:OptionName"]/psf:Value)",
              feature.GetPath());

    CXPathBuilder rest("ns1:");
    ASSERT_EQ(S_OK, rest.AddProperty("", "P"));
    ASSERT_EQ(S_OK, rest.AddScoredProperty("a:", "S"));
    ASSERT_EQ(S_OK, rest.AddParameterInit("b:", "I"));
    EXPECT_EQ(R"(//ns1:Property[@name = "P"]//ns1:ScoredProperty[@name = "a:S"]//ns1:ParameterInit[@name = "b:I"])",
              rest.GetPath());

    CXPathBuilder none("");
    EXPECT_EQ(E_FAIL, none.AddFeature("psk:", "X"));
    EXPECT_EQ(E_FAIL, none.AddOptionOrValue("psk:"));
    EXPECT_EQ("", none.GetPath());
}

TEST_F(TicketDocumentTest, ReadsOptionNamesAndValues)
{
    const std::string body = R"(
  <psf:ParameterInit name="ns0000:JobCopiesAllDocuments"><psf:Value xsi:type="xsd:integer">1</psf:Value></psf:ParameterInit>
  <psf:Feature name="ns0000:PageMediaSize"><psf:Option name="ns0000:ISOA4"/></psf:Feature>
  <psf:Feature name="ns0000:PageOutputColor">
    <psf:ScoredProperty name="ns0000:OptionName"><psf:Value>ns0000:Monochrome</psf:Value></psf:ScoredProperty>
  </psf:Feature>
  <psf:Feature name="ns0001:Stapling"><psf:Option name="ns0001:TopLeft"/>
    <psf:Feature name="ns0000:Position"><psf:Option name="ns0001:Corner"/></psf:Feature>
  </psf:Feature>
  <psf:Feature name="ns0000:JobCopies">
    <psf:ScoredProperty name="ns0000:Count"><psf:ParameterRef name="ns0000:JobCopiesAllDocuments"/></psf:ScoredProperty>
    <psf:ScoredProperty name="ns0000:Other"><psf:Value> -12abc </psf:Value></psf:ScoredProperty>
    <psf:ScoredProperty name="ns0000:Empty"/>
  </psf:Feature>
  <psf:ParameterInit name="ns0000:JobCopiesAllDocuments"><psf:Value xsi:type="xsd:integer">3</psf:Value></psf:ParameterInit>)";
    const std::string declarations = "xmlns:psf=\"" + std::string(kFrameworkNs) + "\" xmlns:ns0000=\"" + kKeywordsNs +
                                     "\" xmlns:ns0001=\"" + kPrivateKeywordNamespace + "\" xmlns:xsi=\"" + kXsiNs + "\"";
    ComPtr<CXmlDocument> dom = LoadDom(TicketText(body, declarations));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    ASSERT_EQ("ns0000:", ticket.pskPrefix);

    struct OptionCase {
        const char* prefix;
        const char* feature;
        HRESULT expected;
        const char* name;
        bool isPrivate;
    } options[] = {
        {"ns0000:", "PageMediaSize", S_OK, "ISOA4", false},
        {"ns0000:", "PageOutputColor", S_OK, "Monochrome", false},
        {"ns0001:", "Stapling", S_OK, "TopLeft", true},
        {"ns0000:", "Duplex", ResultNotFound, "", false},
    };
    for (const OptionCase& c : options) {
        std::string name;
        bool isPrivate = !c.isPrivate;
        EXPECT_EQ(c.expected, ticket.GetOptionName(c.prefix, c.feature, &name, &isPrivate)) << c.feature;
        EXPECT_EQ(c.name, name) << c.feature;
        if (c.expected == S_OK) {
            EXPECT_EQ(c.isPrivate, isPrivate) << c.feature;
        }
    }
    std::string name;
    bool isPrivate = false;
    EXPECT_EQ(S_OK, ticket.GetSubFeatureOptionName("ns0001:", "Stapling", "ns0000:", "Position", &name, &isPrivate));
    EXPECT_EQ("Corner", name);
    EXPECT_TRUE(isPrivate);
    EXPECT_EQ(ResultNotFound, ticket.GetSubFeatureOptionName("ns0000:", "PageOutputColor", "ns0000:", "X", &name, &isPrivate));

    struct ValueCase {
        const char* property;
        HRESULT expected;
        std::int32_t value;
    } values[] = {
        {"Count", S_OK, 3},  // through the ParameterRef, the last initialisation
        {"Other", S_OK, -12},
        {"Empty", ResultNotFound, 77},
        {"Absent", ResultNotFound, 77},
    };
    for (const ValueCase& c : values) {
        std::int32_t value = 77;
        EXPECT_EQ(c.expected, ticket.GetScoredPropertyInt("JobCopies", c.property, &value)) << c.property;
        EXPECT_EQ(c.value, value) << c.property;
    }
    EXPECT_EQ(S_OK, ticket.FeatureExists("JobCopies"));
    EXPECT_EQ(ResultNotFound, ticket.FeatureExists("Stapling"));
    EXPECT_EQ(E_POINTER, ticket.GetOptionName("ns0000:", "PageMediaSize", nullptr, &isPrivate));
    EXPECT_EQ(E_INVALIDARG, ticket.GetOptionName("ns0000:", "", &name, &isPrivate));
    EXPECT_EQ(E_INVALIDARG, ticket.NodeExists(""));
}

TEST_F(TicketDocumentTest, NamesWithoutAPrivatePrefixAreNeverPrivate)
{
    ComPtr<CXmlDocument> dom = LoadDom(TicketText(
        R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA4"/></psf:Feature>)",
        "xmlns:psf=\"" + std::string(kFrameworkNs) + "\" xmlns:psk=\"" + kKeywordsNs + "\""));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    std::string name;
    bool isPrivate = true;
    ASSERT_EQ(S_OK, ticket.GetOptionName(ticket.pskPrefix, "PageMediaSize", &name, &isPrivate));
    EXPECT_EQ("ISOA4", name);
    EXPECT_FALSE(isPrivate);
    EXPECT_EQ("other:Name", ticket.StripKnownPrefix("other:Name", &isPrivate));
}

TEST_F(TicketDocumentTest, ParsesIntegersAsTheCLibraryDoes)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"42", 42},           {"  +7mm", 7},           {"abc", 0},
        {"", 0},              {"-2147483648", INT_MIN}, {"99999999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        ComPtr<CXmlDocument> dom = LoadDom(TicketText(std::string(R"(<psf:Property name="drv:P"><psf:Value>)") + text +
                                                      "</psf:Value></psf:Property>"));
        CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
        std::int32_t value = 5;
        EXPECT_EQ(S_OK, ticket.GetPrivatePropertyInt("P", &value)) << text;
        EXPECT_EQ(expected, value) << text;
    }
}

TEST_F(TicketDocumentTest, RemovingADoubledFeatureTakesOnlyItsParameters)
{
    const std::string body = R"(
  <psf:Feature name="psk:JobNUp"><psf:Option><psf:ScoredProperty name="psk:PagesPerSheet">
    <psf:ParameterRef name="psk:A"/></psf:ScoredProperty></psf:Option></psf:Feature>
  <psf:ParameterInit name="psk:A"><psf:Value>2</psf:Value></psf:ParameterInit>
  <psf:ParameterInit name="psk:B"><psf:Value>4</psf:Value></psf:ParameterInit>
  <psf:ParameterInit name="psk:C"><psf:Value>6</psf:Value></psf:ParameterInit>
  <psf:Feature name="psk:Other"><psf:Option><psf:ScoredProperty name="psk:X">
    <psf:ParameterRef name="psk:C"/></psf:ScoredProperty></psf:Option></psf:Feature>
  <psf:Feature name="psk:JobNUp"><psf:ParameterRef name="psk:B"/>
    <psf:ParameterInit name="psk:A"><psf:Value>8</psf:Value></psf:ParameterInit></psf:Feature>)";
    ComPtr<CXmlDocument> dom = LoadDom(TicketText(body));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    EXPECT_EQ(S_OK, ticket.RemoveFeature("JobNUp"));
    EXPECT_EQ(ResultNotFound, ticket.FeatureExists("JobNUp"));
    std::vector<XmlNode> inits;
    ASSERT_EQ(S_OK, ticket.SelectNodes("//psf:ParameterInit", &inits));
    ASSERT_EQ(1u, inits.size());
    std::string name;
    EXPECT_EQ(S_OK, ticket.GetAttributeText(inits[0], "name", &name));
    EXPECT_EQ("psk:C", name);
    EXPECT_EQ(S_OK, ticket.FeatureExists("Other"));
    EXPECT_EQ(S_OK, ticket.RemoveFeature("JobNUp")) << "nothing left to remove";
}

TEST_F(TicketDocumentTest, CreatesPrintSchemaElements)
{
    ComPtr<CXmlDocument> dom = LoadDom(TicketText(""));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    XmlNode root, feature, option, reference, init, scored, property, privateInit;
    ASSERT_EQ(S_OK, ticket.SelectRoot(&root));
    ASSERT_EQ(S_OK, ticket.CreateFeatureWithOption(true, "Poster", false, "None", &feature, &option));
    ASSERT_EQ(S_OK, ticket.CreateIntegerParameter("PosterCount", 4, &reference, &init));
    ASSERT_EQ(S_OK, ticket.CreateScoredPropertyWithChild("psk:", "Count", reference, &scored));
    ASSERT_EQ(S_OK, ticket.AppendChild(option, scored));
    ASSERT_EQ(S_OK, ticket.CreateStringScoredProperty(ticket.privatePrefix, "Label", "a<b", &property));
    ASSERT_EQ(S_OK, ticket.AppendChild(option, property));
    ASSERT_EQ(S_OK, ticket.AppendChild(root, feature));
    ASSERT_EQ(S_OK, ticket.AppendChild(root, init));
    ASSERT_EQ(S_OK, ticket.CreatePrivateIntegerParameter("Secret", -3, &privateInit));
    ASSERT_EQ(S_OK, ticket.AppendChild(root, privateInit));

    std::string text;
    ASSERT_EQ(S_OK, dom->Save(&text));
    const char* expected[] = {
        R"(<psf:Feature name="drv:Poster"><psf:Option name="psk:None"><psf:ScoredProperty name="psk:Count">)"
        R"(<psf:ParameterRef name="psk:PosterCount"/></psf:ScoredProperty>)"
        R"(<psf:ScoredProperty name="drv:Label"><psf:Value xsi:type="xsd:string">a&lt;b</psf:Value></psf:ScoredProperty>)"
        R"(</psf:Option></psf:Feature>)",
        R"(<psf:ParameterInit name="psk:PosterCount"><psf:Value xsi:type="xsd:integer">4</psf:Value></psf:ParameterInit>)",
        R"(<psf:ParameterInit name="drv:Secret"><psf:Value xsi:type="xsd:integer">-3</psf:Value></psf:ParameterInit>)",
    };
    for (const char* piece : expected)
        EXPECT_NE(std::string::npos, text.find(piece)) << piece << "\n" << text;
    std::int32_t count = 0;
    EXPECT_EQ(S_OK, ticket.GetValueInt(R"(//psf:Feature[@name = "drv:Poster"]//psf:ScoredProperty[@name = "psk:Count"])",
                                       &count));
    EXPECT_EQ(4, count);

    XmlNode unnamed;
    ASSERT_EQ(S_OK, ticket.CreateFeatureOption(false, "JobNUp", &feature, &unnamed));
    std::string name;
    EXPECT_EQ(S_FALSE, ticket.GetAttributeText(unnamed, "name", &name));
    EXPECT_EQ(E_INVALIDARG, ticket.CreateFeature("psk:", "", &feature));
    EXPECT_EQ(E_POINTER, ticket.CreateProperty("psk:", "X", nullptr));
}

TEST_F(TicketDocumentTest, CapabilitiesOptionsAreConstrained)
{
    ComPtr<CXmlDocument> dom = LoadDom(TicketText("", StandardDeclarations(), "psf:PrintCapabilities"));
    CTicketDocument capabilities("PrintCapabilities", kPrivateKeywordNamespace, dom.Get());
    EXPECT_TRUE(capabilities.isCapabilities);
    XmlNode option;
    ASSERT_EQ(S_OK, capabilities.CreateOption("psk:", "ISOA4", &option));
    std::string constrained;
    EXPECT_EQ(S_OK, capabilities.GetAttributeText(option, "constrained", &constrained));
    EXPECT_EQ("psk:None", constrained);
}

TEST_F(TicketDocumentTest, ValuesGetSchemaDeclarationsTheRootLacks)
{
    ComPtr<CXmlDocument> dom =
        LoadDom(TicketText("", "xmlns:psf=\"" + std::string(kFrameworkNs) + "\" xmlns:psk=\"" + kKeywordsNs + "\""));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    XmlNode root, property;
    ASSERT_EQ(S_OK, ticket.SelectRoot(&root));
    ASSERT_EQ(S_OK, ticket.CreateIntegerPropertyValue("psk:", "N", 1, &property));
    ASSERT_EQ(S_OK, ticket.AppendChild(root, property));
    std::string text;
    ASSERT_EQ(S_OK, dom->Save(&text));
    ComPtr<CXmlDocument> reloaded = LoadDom(text);
    ASSERT_EQ(S_OK, reloaded->SetSelectionNamespaces({{"psf", kFrameworkNs}, {"xsi", kXsiNs}}));
    XmlNode type;
    ASSERT_EQ(S_OK, reloaded->SelectSingleNode("//psf:Value/@xsi:type", &type)) << text;
    EXPECT_EQ("xsd:integer", type.Text());
    EXPECT_NE(std::string::npos, text.find(std::string("xmlns:xsd=\"") + kXsdNs + "\"")) << text;
}

} // namespace
