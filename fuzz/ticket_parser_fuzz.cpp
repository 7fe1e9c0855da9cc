// Fuzzes the ticket parsing: any bytes as a print ticket (or print capabilities), opened by name
// queries and read into the common records, and merged as a delta onto the default ticket of the
// built-in printer, whose result becomes a device mode.
// Seed corpus: seeds/ticket_parser_fuzz/, and the tickets of ../shared/corpus/tickets/, e.g.
//   ./ticket_parser_fuzz fuzz-corpus/ fuzz/seeds/ticket_parser_fuzz ../shared/corpus/tickets
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/ImageableSizeRecord.h"
#include "framework/JobInfoRecord.h"
#include "framework/PageMediaSizeRecord.h"
#include "framework/TicketDocument.h"
#include "framework/XDException.h"
#include "fuzz/LiveObjectCheck.h"
#include "platform/printticket/PrintTicketProvider.h"

namespace {

void ReadRecords(std::string_view bytes)
{
    ComPtr<CXmlDocument> dom;
    if (FAILED(CXmlDocument::Create(dom.Put())) || FAILED(dom->LoadXml(bytes)))
        return;
    const bool capabilities = dom->DocumentElement().LocalName() == "PrintCapabilities";
    try {
        CTicketDocument ticket(capabilities ? "PrintCapabilities" : "PrintTicket", kPrivateKeywordNamespace, dom.Get());
        if (capabilities) {
            ImageableSizeRecord imageable;
            ReadImageableSize(ticket, &imageable);
            return;
        }
        PageMediaSizeRecord media;
        ReadPageMediaSize(ticket, &media);
        JobInfoRecord job;
        ReadJobInfo(ticket, &job);
    } catch (const CXDException&) {
        // Not a ticket this framework opens: refused, as it should be.
    }
}

void MergeAsDelta(std::string_view bytes)
{
    // The base is the same for every input; made once.
    static const std::string baseTicket = [] {
        std::string xml;
        PTGetDefaultPrintTicket(kDefaultPrinterName, &xml);
        return xml;
    }();
    HPTPROVIDER provider = nullptr;
    if (FAILED(PTOpenProvider(kDefaultPrinterName, 1, &provider)))
        return;
    ComPtr<IStream> base;
    ComPtr<IStream> delta;
    ComPtr<IStream> result;
    CBstr message;
    HRESULT hr = CreateStreamOnText(baseTicket, base.Put());
    if (SUCCEEDED(hr))
        hr = CreateStreamOnText(bytes, delta.Put());
    if (SUCCEEDED(hr))
        hr = CreateStreamOnHGlobal(result.Put());
    if (SUCCEEDED(hr))
        hr = PTMergeAndValidatePrintTicket(provider, base.Get(), delta.Get(), kPTJobScope, result.Get(), message.Put());
    if (SUCCEEDED(hr))
        hr = result->Seek(0, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(hr)) {
        std::uint32_t size = 0;
        DEVMODE* devmode = nullptr;
        if (SUCCEEDED(PTConvertPrintTicketToDevMode(provider, result.Get(), kUserDefaultDevmode, kPTJobScope, &size,
                                                    &devmode, message.Put())))
            PTReleaseMemory(devmode);
    }
    PTCloseProvider(provider);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CLiveObjectCheck check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadRecords(bytes);
    MergeAsDelta(bytes);
    return 0;
}
