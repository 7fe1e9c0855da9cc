#include <gtest/gtest.h>

#include "host/package/PackageReader.h"
#include "tests/package/PackageTestSupport.h"
#include "tools/JobGenerator.h"

namespace {

TEST(JobGenerator, MakesAJobThatRendersWithTheExpectedPagesAndTickets)
{
    ScratchDir dir;
    JobGenSettings settings;
    settings.documents = 2;
    settings.pagesPerDocument = 3;
    settings.jobTicket = DefaultTicket(TicketLevel::Job);
    settings.documentTicket = DefaultTicket(TicketLevel::Document);
    settings.pageTicket = DefaultTicket(TicketLevel::Page);
    std::string error;
    ASSERT_EQ(GenerateXpsJob(dir.Path("job.xps"), settings, &error), S_OK) << error;

    const auto pages = RenderWithMutool(dir.Path("job.xps"), dir.Path("png"));
    EXPECT_EQ(pages.size(), 6u);

    ComPtr<IXpsDocumentProvider> provider;
    ASSERT_EQ(OpenXpsPackage(dir.Path("job.xps"), &provider, nullptr), S_OK);
    HRESULT result = E_FAIL;
    const auto parts = DrainProvider(provider.Get(), &result);
    ASSERT_EQ(result, S_OK);
    int tickets = 0;
    std::string kinds;
    for (const auto& p : parts) {
        kinds += p.kind[0];
        ComPtr<IPartPrintTicket> ticket;
        ComPtr<IFixedDocumentSequence> sequence;
        ComPtr<IFixedDocument> document;
        ComPtr<IFixedPage> page;
        if ((SUCCEEDED(QueryTo(p.part.Get(), &sequence)) && SUCCEEDED(sequence->GetPrintTicket(ticket.Put()))) ||
            (SUCCEEDED(QueryTo(p.part.Get(), &document)) && SUCCEEDED(document->GetPrintTicket(ticket.Put()))) ||
            (SUCCEEDED(QueryTo(p.part.Get(), &page)) && SUCCEEDED(page->GetPrintTicket(ticket.Put()))))
            tickets += PartContent(ticket.Get()).find("psf:PrintTicket") != std::string::npos;
        if (page) {
            std::string uri;
            ComPtr<IXpsPartIterator> iterator;
            ASSERT_EQ(page->GetXpsPartIterator(iterator.Put()), S_OK);
            int resources = 0;
            for (; !iterator->IsDone(); iterator->Next())
                ++resources;
            EXPECT_EQ(resources, 2);  // the font and the image
        }
    }
    EXPECT_EQ(kinds, "psdpppdppp");
    EXPECT_EQ(tickets, 1 + 2 + 6);
}

TEST(JobGenerator, ObfuscatedOpenXpsJobsRenderToo)
{
    ScratchDir dir;
    JobGenSettings settings;
    settings.pagesPerDocument = 2;
    settings.obfuscateFont = true;
    settings.openXps = true;
    std::string error;
    ASSERT_EQ(GenerateXpsJob(dir.Path("job.oxps"), settings, &error), S_OK) << error;
    EXPECT_EQ(RenderWithMutool(dir.Path("job.oxps"), dir.Path("png")).size(), 2u);
    const auto [status, output] = RunCommand("unzip -l '" + dir.Path("job.oxps") + "'");
    EXPECT_NE(output.find(".odttf"), std::string::npos) << output;
}

TEST(JobGenerator, RefusesEmptyJobs)
{
    ScratchDir dir;
    JobGenSettings settings;
    settings.pagesPerDocument = 0;
    std::string error;
    EXPECT_EQ(GenerateXpsJob(dir.Path("job.xps"), settings, &error), E_INVALIDARG);
    EXPECT_FALSE(error.empty());
}

} // namespace
