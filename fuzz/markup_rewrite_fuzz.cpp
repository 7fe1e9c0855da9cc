// Fuzzes the markup rewriting: any bytes as FixedPage markup, copied through the copying rules
// every page handler shares. Whatever the parser accepts, the copy must be well-formed XML, and
// copying the copy must give the same bytes again (a filter after a filter changes nothing);
// either failing aborts.
// Seed corpus: seeds/markup_rewrite_fuzz/, e.g.
//   ./markup_rewrite_fuzz fuzz-corpus/ fuzz/seeds/markup_rewrite_fuzz
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/MarkupCopier.h"
#include "fuzz/LiveObjectCheck.h"

namespace {

// Copies markup through CMarkupCopier into *copy; the parse result, *error telling why it failed.
HRESULT Copy(std::string_view markup, std::string* copy, std::string* error)
{
    ComPtr<IStream> input;
    ComPtr<IStream> output;
    HRESULT hr = CreateStreamOnText(markup, input.Put());
    if (SUCCEEDED(hr))
        hr = CreateStreamOnHGlobal(output.Put());
    if (FAILED(hr))
        return hr;
    {
        ComPtr<CMarkupCopier> copier;
        copier.Attach(new CMarkupCopier(output.Get()));
        hr = ParseSax(input.Get(), copier.Get(), error);
    }
    if (SUCCEEDED(hr))
        hr = output->Seek(0, STREAM_SEEK_SET, nullptr);
    return SUCCEEDED(hr) ? ReadStreamToEnd(output.Get(), copy) : hr;
}

[[noreturn]] void Fail(const char* property, const std::string& detail, const std::string& copy)
{
    std::fprintf(stderr, "%s: %s\ncopy:\n%s\n", property, detail.c_str(), copy.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CLiveObjectCheck check;
    std::string copy;
    std::string error;
    if (FAILED(Copy(std::string_view(reinterpret_cast<const char*>(data), size), &copy, &error)))
        return 0;
    std::string second;
    if (FAILED(Copy(copy, &second, &error)))
        Fail("the copy is not well-formed", error, copy);
    if (second != copy)
        Fail("copying the copy changed it", second, copy);
    return 0;
}
