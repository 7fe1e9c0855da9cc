// Every ticket and capabilities document of the corpus opens, and its paper reads without failure.
#include <filesystem>

#include "framework/PageMediaSizeRecord.h"
#include "framework/XDException.h"
#include "tests/ticket/TicketFixtures.h"
#include "tests/xml/TestStreams.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::string bytes(fs::file_size(path), '\0');
    FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_NE(nullptr, file);
    if (file) {
        EXPECT_EQ(bytes.size(), std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
    return bytes;
}

class CorpusTicketsTest : public TicketTest {};

TEST_F(CorpusTicketsTest, EveryTicketOpensAndGivesItsPaper)
{
    const fs::path folder = fs::path(XPSCHAIN_CORPUS_DIR) / "tickets";
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    int opened = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        const bool capabilities = file.find("printcapabilities") != std::string::npos;
        ComPtr<CXmlDocument> dom;
        ASSERT_EQ(S_OK, CXmlDocument::Create(dom.Put()));
        CTestStream stream(ReadFile(entry.path()), 4096);
        ASSERT_EQ(S_OK, dom->Load(&stream)) << file << ": " << dom->ParseError();
        try {
            CTicketDocument ticket(capabilities ? "PrintCapabilities" : "PrintTicket", kPrivateKeywordNamespace,
                                   dom.Get());
            EXPECT_EQ("psf:", ticket.psfPrefix) << file;
            EXPECT_FALSE(ticket.hasPrivatePrefix) << file;
            PageMediaSizeRecord record;
            const HRESULT hr = ReadPageMediaSize(ticket, &record);
            EXPECT_TRUE(SUCCEEDED(hr)) << file << ": " << FormatHresult(hr);
            EXPECT_GT(record.width, 0) << file;
            EXPECT_GT(record.height, 0) << file;
            ++opened;
        } catch (const CXDException& e) {
            ADD_FAILURE() << file << ": " << FormatHresult(e.Result());
        }
    }
    EXPECT_GE(opened, 30);
}

TEST_F(CorpusTicketsTest, ACustomSizeComesThroughItsParameters)
{
    const fs::path path = fs::path(XPSCHAIN_CORPUS_DIR) / "tickets" / "aspose-page-net_output2__page__f49d33a3__Page1_PT.xml";
    ComPtr<CXmlDocument> dom = LoadDom(ReadFile(path));
    CTicketDocument ticket("PrintTicket", kPrivateKeywordNamespace, dom.Get());
    PageMediaSizeRecord record;
    EXPECT_TRUE(SUCCEEDED(ReadPageMediaSize(ticket, &record)));
    EXPECT_EQ("CustomMediaSize", record.mediaName);
    EXPECT_EQ(287866, record.width);
    EXPECT_EQ(372533, record.height);
}

} // namespace
