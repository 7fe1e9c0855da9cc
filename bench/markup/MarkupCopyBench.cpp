// Copies a large generated FixedPage through ParsePartMarkup and CMarkupCopier into a sink that
// drops the bytes, and times `xmllint --stream --noout` on the same file; best of three runs each.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/MarkupCopier.h"
#include "framework/MarkupText.h"
#include "framework/PartMarkup.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

class CDiscardingSink final : public CComBase<IPrintWriteStream> {
public:
    HRESULT WriteBytes(const void*, ULONG size, ULONG* written) override
    {
        bytes += size;
        *written = size;
        return S_OK;
    }
    void Close() override {}
    std::uint64_t bytes = 0;
};

class CFileReadStream final : public CComBase<IPrintReadStream> {
public:
    explicit CFileReadStream(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    HRESULT Seek(std::int64_t distance, std::uint32_t origin, std::uint64_t* newPosition) override
    {
        const off_t at = lseek(fd_, distance, origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END);
        if (at < 0)
            return E_FAIL;
        if (newPosition)
            *newPosition = static_cast<std::uint64_t>(at);
        return S_OK;
    }
    HRESULT ReadBytes(void* buffer, ULONG size, ULONG* read, BOOL* endOfFile) override
    {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n < 0)
            return E_FAIL;
        *read = static_cast<ULONG>(n);
        if (endOfFile)
            *endOfFile = n == 0;
        return S_OK;
    }

private:
    ~CFileReadStream() override { close(fd_); }
    int fd_;
};

class CFilePart final : public CComBase<IPartBase> {
public:
    explicit CFilePart(std::string path) : path_(std::move(path)) {}
    HRESULT GetUri(std::string* uri) override
    {
        *uri = "/Documents/1/Pages/1.fpage";
        return S_OK;
    }
    HRESULT GetStream(IPrintReadStream** stream) override
    {
        *stream = new CFileReadStream(path_);
        return S_OK;
    }
    HRESULT GetPartCompression(EXpsCompressionOptions* compression) override
    {
        *compression = Compression_Normal;
        return S_OK;
    }
    HRESULT SetPartCompression(EXpsCompressionOptions) override { return S_OK; }

private:
    std::string path_;
};

// A FixedPage of about megabytes MB: canvases of paths and glyph runs, as a text-heavy page.
std::string MakePage(std::size_t megabytes)
{
    std::string page = R"(<?xml version="1.0" encoding="utf-8"?>)"
                       "\n"
                       R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" xmlns:x="http://schemas.microsoft.com/xps/2005/06/resourcedictionary-key" Width="816" Height="1056" xml:lang="en-US">)"
                       "\n";
    const std::size_t target = megabytes << 20;
    page.reserve(target + 4096);
    for (int i = 0; page.size() < target; ++i) {
        const double x = i % 97 * 8.25, y = i % 131 * 7.5;
        AppendFormat(page, R"(<Canvas RenderTransform="1,0,0,1,%.2f,%.2f" Opacity="0.85">)" "\n", x, y);
        AppendFormat(page,
                     R"(  <Path Data="F1 M %.2f,%.2f L %.2f,%.2f L %.2f,%.2f C 1,2 3,4 5,6 Z" Fill="#FF1F3F5F" Stroke="#FF000000" StrokeThickness="0.75"/>)" "\n",
                     x, y, x + 120.5, y, x + 120.5, y + 14.25);
        AppendFormat(page,
                     R"(  <Glyphs OriginX="%.2f" OriginY="%.2f" FontRenderingEmSize="10.56" FontUri="/Resources/Fonts/%d.odttf" )"
                     R"(UnicodeString="Line %d of the report &amp; its totals: &lt;%d&gt; caf&#xE9; &#x4E2D;&#x6587;" )"
                     R"(Indices=",55;,54;,55;,28;,52;,54;,55;,60;,28;" Fill="#FF000000"/>)" "\n",
                     x, y + 12, i % 7, i, i * 3);
        page += "</Canvas>\n";
    }
    page += "</FixedPage>\n";
    return page;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double CopyOnce(const std::string& path, std::uint64_t* written)
{
    ComPtr<CFilePart> part;
    part.Attach(new CFilePart(path));
    ComPtr<CDiscardingSink> sink;
    sink.Attach(new CDiscardingSink);
    const Clock::time_point start = Clock::now();
    {
        ComPtr<CMarkupCopier> copier;
        copier.Attach(new CMarkupCopier(static_cast<IPrintWriteStream*>(sink.Get())));
        std::string error;
        const HRESULT hr = ParsePartMarkup(part.Get(), copier.Get(), &error);
        if (FAILED(hr)) {
            std::fprintf(stderr, "copy failed: %s\n", error.c_str());
            std::exit(1);
        }
    }
    const double seconds = SecondsSince(start);
    *written = sink->bytes;
    return seconds;
}

double XmllintOnce(const std::string& path)
{
    const char* argv[] = {"xmllint", "--stream", "--noout", path.c_str(), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xmllint", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        std::fprintf(stderr, "cannot run xmllint\n");
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "xmllint refused the page\n");
        std::exit(1);
    }
    return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
    char path[] = "/tmp/markup-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        std::perror("mkstemp");
        return 1;
    }
    const std::string page = MakePage(megabytes);
    if (write(fd, page.data(), page.size()) != static_cast<ssize_t>(page.size())) {
        std::perror("write");
        return 1;
    }
    close(fd);

    double copyBest = 1e9, xmllintBest = 1e9;
    std::uint64_t written = 0;
    for (int run = 0; run < 3; ++run) {
        copyBest = std::min(copyBest, CopyOnce(path, &written));
        xmllintBest = std::min(xmllintBest, XmllintOnce(path));
    }
    unlink(path);
    std::printf("page: %.1f MB read, %.1f MB written\n", page.size() / 1048576.0, written / 1048576.0);
    std::printf("copy (SAX + copying rules): %.3f s  (%.1f MB/s)\n", copyBest, page.size() / 1048576.0 / copyBest);
    std::printf("xmllint --stream --noout:   %.3f s  (%.1f MB/s)\n", xmllintBest, page.size() / 1048576.0 / xmllintBest);
    std::printf("ratio: %.2f (target at most 3.00)\n", copyBest / xmllintBest);
    return 0;
}
