#include "bench/chain/PackageCopy.h"

#include "host/package/PackageReader.h"
#include "host/package/PackageWriter.h"

namespace {

// Sends one part to the writer by its kind, as a filter that changes nothing would.
HRESULT Send(IXpsDocumentConsumer* writer, IUnknown* part, std::uint64_t* pages)
{
    ComPtr<IFixedPage> page;
    if (SUCCEEDED(QueryTo(part, &page))) {
        ++*pages;
        return writer->SendFixedPage(page.Get());
    }
    ComPtr<IFixedDocument> document;
    if (SUCCEEDED(QueryTo(part, &document)))
        return writer->SendFixedDocument(document.Get());
    ComPtr<IFixedDocumentSequence> sequence;
    if (SUCCEEDED(QueryTo(part, &sequence)))
        return writer->SendFixedDocumentSequence(sequence.Get());
    ComPtr<IXpsDocument> package;
    if (SUCCEEDED(QueryTo(part, &package)))
        return writer->SendXpsDocument(package.Get());
    return writer->SendXpsUnknown(part);
}

} // namespace

bool CopyPackage(const std::string& input, const std::string& output, std::uint64_t* pages, std::string* error)
{
    PackageError failure;
    ComPtr<IXpsDocumentProvider> reader;
    ComPtr<IXpsDocumentConsumer> writer;
    if (FAILED(OpenXpsPackage(input, &reader, &failure)) || FAILED(CreateXpsPackageWriter(output, &writer, &failure))) {
        *error = failure.Text();
        return false;
    }
    for (;;) {
        ComPtr<IUnknown> part;
        HRESULT hr = reader->GetXpsPart(part.Put());
        if (SUCCEEDED(hr) && !part)
            break;
        if (SUCCEEDED(hr))
            hr = Send(writer.Get(), part.Get(), pages);
        if (FAILED(hr)) {
            const PackageError e = LastPackageError(reader.Get()).Failed() ? LastPackageError(reader.Get()) : LastPackageError(writer.Get());
            *error = e.Failed() ? e.Text() : FormatHresult(hr);
            return false;
        }
    }
    if (FAILED(writer->CloseSender())) {
        *error = LastPackageError(writer.Get()).Text();
        return false;
    }
    return true;
}
