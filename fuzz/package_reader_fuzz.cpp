// Fuzzes the package reader: any bytes as a package, every part pulled and every page resource read.
// Seed corpus: seeds/package_reader_fuzz/, and the packages of ../shared/corpus/xps/ and
// ../shared/corpus/broken/, e.g.
//   ./package_reader_fuzz -max_len=4000000 fuzz-corpus/ fuzz/seeds/package_reader_fuzz ../shared/corpus/xps ../shared/corpus/broken
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/LiveObjectCheck.h"
#include "host/package/PackageReader.h"

namespace {

void Drain(IUnknown* part)
{
    ComPtr<IPartBase> base;
    if (FAILED(QueryTo(part, &base)))
        return;
    ComPtr<IPrintReadStream> stream;
    if (FAILED(base->GetStream(stream.Put())))
        return;
    char buffer[65536];
    for (;;) {
        ULONG read = 0;
        BOOL end = 0;
        if (FAILED(stream->ReadBytes(buffer, sizeof buffer, &read, &end)) || end || read == 0)
            return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CLiveObjectCheck check;
    // The reader opens a path; a memory file gives it one without touching the disk.
    const int fd = memfd_create("package", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == static_cast<ssize_t>(size)) {
        ComPtr<IXpsDocumentProvider> provider;
        PackageError error;
        if (SUCCEEDED(OpenXpsPackage("/proc/self/fd/" + std::to_string(fd), &provider, &error))) {
            for (;;) {
                ComPtr<IUnknown> part;
                if (FAILED(provider->GetXpsPart(part.Put())) || !part)
                    break;
                Drain(part.Get());
                ComPtr<IFixedPage> page;
                ComPtr<IXpsPartIterator> resources;
                if (FAILED(QueryTo(part.Get(), &page)) || FAILED(page->GetXpsPartIterator(resources.Put())))
                    continue;
                for (; !resources->IsDone(); resources->Next()) {
                    std::string uri;
                    ComPtr<IUnknown> resource;
                    if (SUCCEEDED(resources->Current(&uri, resource.Put())))
                        Drain(resource.Get());
                }
            }
        }
    }
    close(fd);
    return 0;
}
