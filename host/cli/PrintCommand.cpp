#include "host/cli/PrintCommand.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "host/cli/SignalWatcher.h"
#include "host/runner/JobDescription.h"
#include "host/runner/OutputFile.h"
#include "host/runner/PipelineRunner.h"
#include "host/runner/PrinterSetup.h"
#include "platform/module/Module.h"
#include "platform/spooler/Spooler.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Progress appears only for jobs that take longer than this.
constexpr std::chrono::seconds kProgressDelay(1);

// Messages are one line each, whatever the text they quote.
std::string OneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Refuses an output that would replace the job itself.
bool SameFile(const std::string& a, const std::string& b)
{
    char first[PATH_MAX], second[PATH_MAX];
    return realpath(a.c_str(), first) && realpath(b.c_str(), second) && std::string(first) == second;
}

// Why an existing output cannot take the job: the output is renamed into place at the end, which
// would put a regular file where a directory, a device or a pipe was. Empty when usable.
std::string UnusableOutput(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return {};
    return S_ISDIR(info.st_mode) ? "is a directory; name a file" : "is not a regular file; name a file";
}

bool LoadPipeline(const PrintOptions& options, PipelineConfig* pipeline, std::string* error)
{
    if (options.pipeline.empty())
        *pipeline = DefaultPipelineConfig();
    else if (!ReadPipelineConfig(options.pipeline, pipeline, error))
        return false;
    return options.stopAfter.empty() || TruncatePipeline(pipeline, options.stopAfter, error);
}

// The progress line on a terminal: rewritten in place, cleared at the end.
class CProgressLine {
public:
    explicit CProgressLine(bool enabled) : enabled_(enabled && isatty(STDERR_FILENO)) {}
    void Show(std::uint64_t pages)
    {
        if (!enabled_ || std::chrono::steady_clock::now() - start_ < kProgressDelay)
            return;
        std::fprintf(stderr, "\rxpschain: %llu pages", static_cast<unsigned long long>(pages));
        shown_ = true;
    }
    ~CProgressLine()
    {
        if (shown_)
            std::fprintf(stderr, "\r\033[K");
    }

private:
    const bool enabled_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool shown_ = false;
};

} // namespace

std::string ProgramDirectory()
{
    const std::string program = GetModuleFileNameW(nullptr);
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string(".") : program.substr(0, slash);
}

int RunPrintCommand(const PrintOptions& options)
{
    const std::string job = options.input;
    auto fail = [&](std::string message, int status) {
        // A fault of the file as a whole is already named by the lead.
        if (message.rfind(job + ": ", 0) == 0)
            message.erase(0, job.size() + 2);
        std::fprintf(stderr, "xpschain: %s: %s\n", job.c_str(), OneLine(message).c_str());
        return status;
    };

    JobRequest request;
    std::string error;
    if (!LoadPipeline(options, &request.pipeline, &error))
        return fail(error, kExitUsage);
    if (SameFile(options.input, options.output))
        return fail("the output '" + options.output + "' is the job itself", kExitUsage);
    if (const std::string why = UnusableOutput(options.output); !why.empty())
        return fail("the output '" + options.output + "' " + why, kExitUsage);

    JobDescription description;
    if (!ResolvePrinter(options.printer, &description.printerName, &error) ||
        !ResolveUserTicket(description.printerName, options.userTicket, &description.userTicketXml, &error))
        return fail(error, kExitUsage);
    const std::string programDirectory = ProgramDirectory();
    description.documentName = BaseName(options.input);
    description.userName = LoginUserName();
    description.driverDirectory = options.driverDirectory.empty() ? programDirectory + "/../lib/driver" : options.driverDirectory;
    description.extraProperties = options.properties;

    const ComPtr<CPropertyBag> properties = CPropertyBag::Create();
    if (FAILED(FillPropertyBag(description, properties.Get(), &error)))
        return fail(error, kExitUsage);
    PublishJob(description);

    COutputFile output;
    if (!output.Create(options.output, &error)) {
        SpoolerRemoveJob(description.jobId);
        return fail(error, kExitFailed);
    }
    request.pluginDirectory = options.pluginDirectory.empty() ? programDirectory + "/../lib" : options.pluginDirectory;
    request.inputPath = options.input;
    request.outputPath = output.TemporaryPath();
    request.outputFd = output.Descriptor();
    request.jobId = description.jobId;
    request.properties = properties.Get();

    CPipelineRunner runner;
    CSignalWatcher watcher;
    const std::string temporary = output.TemporaryPath();
    const bool watching = watcher.Start([&runner, temporary](int signal, int count) {
        runner.Interrupt(signal);
        // A second interrupt means the user will not wait for the filters to wind down.
        if (count > 1) {
            unlink(temporary.c_str());
            _exit(128 + signal);
        }
    });
    // Without a watcher an interrupt must still end the program, if less tidily.
    if (!watching)
        CSignalWatcher::Unblock();

    JobOutcome outcome;
    {
        CProgressLine progress(!options.quiet);
        outcome = runner.Run(request, [&progress](std::uint64_t pages) { progress.Show(pages); });
    }
    watcher.Stop();
    SpoolerRemoveJob(description.jobId);

    if (outcome.status != JobStatus::kDone) {
        output.Discard();
        if (outcome.status == JobStatus::kInterrupted)
            return fail(outcome.message, 128 + outcome.signal);
        return fail(outcome.message, kExitFailed);
    }
    if (!output.Commit(&error))
        return fail(error, kExitFailed);
    if (!options.quiet)
        std::fprintf(stderr, "xpschain: %s: %llu pages written to %s\n", job.c_str(),
                     static_cast<unsigned long long>(outcome.pages), options.output.c_str());
    return 0;
}
