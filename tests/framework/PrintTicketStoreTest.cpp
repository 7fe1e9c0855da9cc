// The ticket store with the real PrintTicket provider and the built-in default printer.
#include <algorithm>
#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include "framework/PrintTicketStore.h"
#include "tests/framework/RecordingFilter.h"
#include "tests/support/TestPipeline.h"

namespace {

constexpr char kFramework[] = "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";

// A delta ticket with the given features, each "Feature=Option" in the keyword namespace.
std::string DeltaTicket(std::initializer_list<std::pair<const char*, const char*>> features)
{
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<psf:PrintTicket xmlns:psf=\"") + kFramework +
                      "\" xmlns:psk=\"http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords\" version=\"1\">";
    for (const auto& [feature, option] : features)
        xml += std::string("<psf:Feature name=\"psk:") + feature + "\"><psf:Option name=\"psk:" + option + "\"/></psf:Feature>";
    return xml + "</psf:PrintTicket>";
}

// The user's default ticket carrying both standard N-up features, 2 pages per sheet.
std::string UserTicketWithNUp()
{
    std::string ticket = DefaultUserTicket();
    const std::size_t end = ticket.rfind("</");
    const char* nup =
        "<psf:Feature name=\"psk:DocumentNUp\"><psf:Option><psf:ScoredProperty name=\"psk:PagesPerSheet\">"
        "<psf:Value xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xsi:type=\"xsd:integer\">2</psf:Value></psf:ScoredProperty></psf:Option></psf:Feature>";
    if (end != std::string::npos)
        ticket.insert(end, nup);
    return ticket;
}

// A copy of ticket that XPath can query with the psf prefix, without touching the store's own.
ComPtr<CXmlDocument> Queryable(CXmlDocument* ticket)
{
    ComPtr<CXmlDocument> copy;
    EXPECT_EQ(CPrintTicketStore::CloneTicket(ticket, copy.Put()), S_OK);
    if (copy)
        copy->SetSelectionNamespaces({{"psf", kFramework}});
    return copy;
}

std::string FeatureXPath(const std::string& feature)
{
    return "/psf:PrintTicket/psf:Feature[substring-after(@name, ':') = '" + feature + "']";
}

bool HasFeature(CXmlDocument* ticket, const std::string& feature)
{
    XmlNode node;
    return Queryable(ticket)->SelectSingleNode(FeatureXPath(feature), &node) == S_OK;
}

// Every top-level feature with its option's local name.
std::map<std::string, std::string> Options(CXmlDocument* ticket)
{
    ComPtr<CXmlDocument> copy = Queryable(ticket);
    std::vector<XmlNode> features;
    EXPECT_EQ(copy->SelectNodes("/psf:PrintTicket/psf:Feature", &features), S_OK);
    std::map<std::string, std::string> options;
    for (const XmlNode& feature : features) {
        std::string name;
        std::string option;
        XmlNode optionNode;
        feature.GetAttribute("name", &name);
        if (copy->SelectSingleNode(feature, "psf:Option", &optionNode) == S_OK)
            optionNode.GetAttribute("name", &option);
        options[name.substr(name.find(':') + 1)] = option.substr(option.find(':') + 1);
    }
    return options;
}

std::string Text(CXmlDocument* ticket)
{
    std::string text;
    EXPECT_EQ(ticket->Save(&text), S_OK);
    return text;
}

// "/PT_<tag>_<digits>_<digits>.xml"
bool IsTicketPartName(const std::string& uri, const std::string& tag)
{
    const std::string prefix = "/PT_" + tag + "_";
    const std::string suffix = ".xml";
    if (uri.size() <= prefix.size() + suffix.size() || uri.compare(0, prefix.size(), prefix) != 0 ||
        uri.compare(uri.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string numbers = uri.substr(prefix.size(), uri.size() - prefix.size() - suffix.size());
    const std::size_t underscore = numbers.find('_');
    const auto digits = [](const std::string& text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
    };
    return underscore != std::string::npos && digits(numbers.substr(0, underscore)) && digits(numbers.substr(underscore + 1));
}

class PrintTicketStoreTest : public testing::Test {
protected:
    void Open(const std::string& userTicket)
    {
        ASSERT_EQ(store.Initialize(CTestReadStream::Make(userTicket).Get(), kDefaultPrinterName), S_OK);
    }
    CXmlDocument* Ticket(TicketScope scope)
    {
        CXmlDocument* ticket = nullptr;
        EXPECT_EQ(store.GetScopeTicket(scope, &ticket), S_OK);
        return ticket;
    }
    static ComPtr<CTestFixedDocument> Document(const char* uri, const std::string& ticketXml = {})
    {
        return MakeTestObject<CTestFixedDocument>(uri, ticketXml.empty() ? nullptr : MakeTicketPart("/t.xml", ticketXml).Get());
    }

    CPrintTicketStore store;
};

TEST_F(PrintTicketStoreTest, LevelsWithoutTicketsAreCopiesOfTheBaseWithoutNUp)
{
    ComPtr<CXmlDocument> user;
    ASSERT_EQ(CXmlDocument::Create(user.Put()), S_OK);
    ASSERT_EQ(user->LoadXml(UserTicketWithNUp()), S_OK);
    ASSERT_TRUE(HasFeature(user.Get(), "JobNUpAllDocumentsContiguously"));
    ASSERT_TRUE(HasFeature(user.Get(), "DocumentNUp"));
    Open(UserTicketWithNUp());

    EXPECT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), S_OK);
    EXPECT_EQ(store.UpdateDocumentTicket(Document("/doc.fdoc").Get()), S_OK);
    EXPECT_EQ(store.UpdatePageTicket(MakeTestObject<CTestFixedPage>("/1.fpage").Get()), S_OK);

    EXPECT_FALSE(store.JobTicketFromPart() || store.DocumentTicketFromPart() || store.PageTicketFromPart());
    const std::string job = Text(Ticket(TicketScope::Job));
    EXPECT_EQ(Text(Ticket(TicketScope::Document)), job);
    EXPECT_EQ(Text(Ticket(TicketScope::Page)), job);
    for (const TicketScope scope : {TicketScope::Job, TicketScope::Document, TicketScope::Page}) {
        EXPECT_FALSE(HasFeature(Ticket(scope), "JobNUpAllDocumentsContiguously"));
        EXPECT_FALSE(HasFeature(Ticket(scope), "DocumentNUp"));
        EXPECT_TRUE(HasFeature(Ticket(scope), "PageMediaSize"));
    }
}

TEST_F(PrintTicketStoreTest, APageTicketReplacesOnlyItsFeature)
{
    Open(DefaultUserTicket());
    ASSERT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), S_OK);
    ASSERT_EQ(store.UpdateDocumentTicket(Document("/doc.fdoc").Get()), S_OK);
    auto page = MakeTestObject<CTestFixedPage>("/1.fpage", "", MakeTicketPart("/1.xml", DeltaTicket({{"PageOrientation", "Landscape"}})).Get());

    EXPECT_EQ(store.UpdatePageTicket(page.Get()), S_OK);

    EXPECT_TRUE(store.PageTicketFromPart());
    std::map<std::string, std::string> pageOptions = Options(Ticket(TicketScope::Page));
    std::map<std::string, std::string> documentOptions = Options(Ticket(TicketScope::Document));
    EXPECT_EQ(pageOptions["PageOrientation"], "Landscape");
    EXPECT_EQ(documentOptions["PageOrientation"], "Portrait");
    // Every other feature of the document keeps its option (validation may add the printer's
    // defaults for features the document lacks).
    documentOptions.erase("PageOrientation");
    for (const auto& [feature, option] : documentOptions)
        EXPECT_EQ(pageOptions[feature], option) << feature;
}

TEST_F(PrintTicketStoreTest, ASecondDocumentWithoutTicketCopiesTheJobNotTheFirstDocument)
{
    Open(DefaultUserTicket());
    ASSERT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), S_OK);
    ASSERT_EQ(store.UpdateDocumentTicket(Document("/1.fdoc", DeltaTicket({{"PageOrientation", "Landscape"}})).Get()), S_OK);
    ASSERT_EQ(Options(Ticket(TicketScope::Page))["PageOrientation"], "Landscape");

    EXPECT_EQ(store.UpdateDocumentTicket(Document("/2.fdoc").Get()), S_OK);

    EXPECT_FALSE(store.DocumentTicketFromPart());
    EXPECT_EQ(Text(Ticket(TicketScope::Document)), Text(Ticket(TicketScope::Job)));
    // The first document's page ticket went with it.
    EXPECT_EQ(Options(Ticket(TicketScope::Page))["PageOrientation"], "Portrait");
}

TEST_F(PrintTicketStoreTest, ASecondDocumentWithItsOwnTicketDropsThePreviousPageTicket)
{
    Open(DefaultUserTicket());
    ASSERT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), S_OK);
    ASSERT_EQ(store.UpdateDocumentTicket(Document("/1.fdoc", DeltaTicket({{"PageOrientation", "Landscape"}})).Get()), S_OK);
    ASSERT_EQ(store.UpdatePageTicket(MakeTestObject<CTestFixedPage>("/1.fpage").Get()), S_OK);
    ASSERT_EQ(Options(Ticket(TicketScope::Page))["PageOrientation"], "Landscape");

    EXPECT_EQ(store.UpdateDocumentTicket(Document("/2.fdoc", DeltaTicket({{"PageOrientation", "ReverseLandscape"}})).Get()),
              S_OK);

    EXPECT_TRUE(store.DocumentTicketFromPart());
    EXPECT_EQ(Options(Ticket(TicketScope::Page))["PageOrientation"], "ReverseLandscape");
}

TEST_F(PrintTicketStoreTest, ThePageTicketBeforeAnyPageIsMadeFromTheDocument)
{
    Open(DefaultUserTicket());
    ASSERT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), S_OK);
    ASSERT_EQ(store.UpdateDocumentTicket(Document("/1.fdoc", DeltaTicket({{"PageOrientation", "Landscape"}})).Get()), S_OK);

    CXmlDocument* page = Ticket(TicketScope::Page);

    ASSERT_NE(page, nullptr);
    EXPECT_NE(page, Ticket(TicketScope::Document));
    EXPECT_EQ(Text(page), Text(Ticket(TicketScope::Document)));
    EXPECT_EQ(Options(page)["PageOrientation"], "Landscape");
}

TEST_F(PrintTicketStoreTest, ATicketThatDoesNotParseFailsAndTheLevelKeepsItsTicket)
{
    Open(DefaultUserTicket());
    ASSERT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), S_OK);
    ASSERT_EQ(store.UpdateDocumentTicket(Document("/1.fdoc", DeltaTicket({{"PageOrientation", "Landscape"}})).Get()), S_OK);

    EXPECT_EQ(store.UpdateDocumentTicket(Document("/2.fdoc", "<psf:PrintTicket").Get()), E_FAIL);

    EXPECT_EQ(Options(Ticket(TicketScope::Document))["PageOrientation"], "Landscape");
}

TEST_F(PrintTicketStoreTest, NothingIsAvailableBeforeInitialisation)
{
    CXmlDocument* ticket = nullptr;
    EXPECT_EQ(store.EnsureScopeTickets(TicketScope::Page), ResultNotAvailable);
    EXPECT_EQ(store.GetScopeTicket(TicketScope::Job, &ticket), E_FAIL);
    EXPECT_EQ(ticket, nullptr);
    EXPECT_EQ(store.UpdateJobTicket(MakeTestObject<CTestFixedDocumentSequence>("/seq.fdseq").Get()), ResultNotAvailable);
    ComPtr<CXmlDocument> delta;
    ASSERT_EQ(CXmlDocument::Create(delta.Put()), S_OK);
    ASSERT_EQ(delta->LoadXml(DeltaTicket({})), S_OK);
    EXPECT_EQ(store.MergeIntoScope(TicketScope::Document, delta.Get()), ResultNotAvailable);
    ComPtr<CXmlDocument> merged;
    EXPECT_EQ(store.MergeAndValidate(delta.Get(), delta.Get(), merged.Put()), ResultNotAvailable);
}

TEST_F(PrintTicketStoreTest, InitialisationNeedsAStreamAndAKnownPrinter)
{
    EXPECT_EQ(store.Initialize(nullptr, kDefaultPrinterName), E_POINTER);
    EXPECT_EQ(store.Initialize(CTestReadStream::Make(DefaultUserTicket()).Get(), ""), E_INVALIDARG);
    EXPECT_EQ(store.Initialize(CTestReadStream::Make(DefaultUserTicket()).Get(), "No Such Printer"),
              HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(store.Initialize(CTestReadStream::Make("not a ticket").Get(), kDefaultPrinterName), E_FAIL);
}

TEST_F(PrintTicketStoreTest, PrintCapabilitiesFollowTheTicket)
{
    Open(DefaultUserTicket());
    ComPtr<CXmlDocument> capabilities;
    ASSERT_EQ(store.GetPrintCapabilities(Ticket(TicketScope::Job), capabilities.Put()), S_OK);
    EXPECT_EQ(capabilities->DocumentElement().LocalName(), "PrintCapabilities");
}

TEST_F(PrintTicketStoreTest, WriteTicketPartNamesThePartAfterTheTag)
{
    Open(DefaultUserTicket());
    auto consumer = MakeTestObject<CTestConsumer>();
    ComPtr<IPartPrintTicket> part;

    ASSERT_EQ(CPrintTicketStore::WriteTicketPart(consumer.Get(), Ticket(TicketScope::Job), "LO", part.Put()), S_OK);

    std::string uri;
    ASSERT_EQ(part->GetUri(&uri), S_OK);
    EXPECT_TRUE(IsTicketPartName(uri, "LO")) << uri;
    ASSERT_EQ(consumer->records.size(), 1u);
    EXPECT_EQ(consumer->records[0].kind, SentKind::NewEmptyPart);
    EXPECT_EQ(consumer->records[0].uri, uri);
    auto* written = static_cast<CTestPrintTicketPart*>(part.Get());
    EXPECT_TRUE(written->Closed());
    EXPECT_EQ(written->Content(), Text(Ticket(TicketScope::Job)));
}

TEST_F(PrintTicketStoreTest, WriteTicketPartHandsOutNoHalfWrittenPart)
{
    Open(DefaultUserTicket());
    auto consumer = MakeTestObject<CTestConsumer>();
    consumer->newPartWritesFailAfter = 10;
    ComPtr<IPartPrintTicket> part;

    EXPECT_EQ(CPrintTicketStore::WriteTicketPart(consumer.Get(), Ticket(TicketScope::Job), "SC", part.Put()), E_FAIL);

    EXPECT_FALSE(part);
    ASSERT_EQ(consumer->records.size(), 1u);
    EXPECT_TRUE(static_cast<CTestPrintTicketPart*>(static_cast<IPartPrintTicket*>(consumer->records[0].part.Get()))->Closed());
    EXPECT_EQ(CPrintTicketStore::WriteTicketPart(nullptr, Ticket(TicketScope::Job), "SC", part.Put()), ResultNotAvailable);
    EXPECT_EQ(CPrintTicketStore::WriteTicketPart(consumer.Get(), nullptr, "SC", part.Put()), E_POINTER);
}

TEST(PrintTicketStoreInTheLoop, TheDefaultHooksKeepTheJobAndDocumentTickets)
{
    TestPipeline pipeline({AsPart(MakeTestObject<CTestFixedDocumentSequence>(
                               "/seq.fdseq", MakeTicketPart("/job.xml", DeltaTicket({{"PageOrientation", "Landscape"}})).Get()).Get()),
                           AsPart(MakeTestObject<CTestFixedDocument>("/doc.fdoc").Get())});
    auto filter = MakeTestObject<CRecordingFilter>();
    ASSERT_EQ(pipeline.Initialize(filter.Get()), S_OK);

    ASSERT_EQ(filter->StartOperation(), S_OK);

    EXPECT_TRUE(filter->TicketStore().JobTicketFromPart());
    EXPECT_FALSE(filter->TicketStore().DocumentTicketFromPart());
    CXmlDocument* document = nullptr;
    ASSERT_EQ(filter->TicketStore().GetScopeTicket(TicketScope::Document, &document), S_OK);
    EXPECT_EQ(Options(document)["PageOrientation"], "Landscape");
}

} // namespace
